#include "platform/link/title_match.h"

#include "platform/failures.h"

namespace vt {

namespace {

// The separator is required so that "SPIGOT-SERVER" never picks "SPIGOT-SERVER2".
bool titleWithCommand(const ConsoleTitle& candidate, const std::string& name)
{
    const std::string prefix = name + " - ";
    return candidate.showsCommand && candidate.text.size() >= prefix.size() &&
           candidate.text.compare(0, prefix.size(), prefix) == 0;
}

template <typename Matches>
std::vector<std::size_t> indicesWhere(const std::vector<ConsoleTitle>& candidates, Matches matches)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (matches(candidates[i]))
            found.push_back(i);
    }
    return found;
}

[[noreturn]] void throwAmbiguous(std::size_t count, const std::string& description)
{
    throw ConsoleAmbiguous(std::to_string(count) + " windows " + description +
                           "; a keystroke never goes to a guessed window");
}

} // namespace

std::size_t matchConsoleTitle(const std::vector<ConsoleTitle>& candidates, const std::string& name)
{
    if (name.empty())
        throw ConsoleNotFound("the server console title is empty; enter it in Settings & Messages");
    const auto exact = indicesWhere(candidates, [&](const ConsoleTitle& t) { return t.text == name; });
    if (exact.size() == 1)
        return exact.front();
    if (exact.size() > 1)
        throwAmbiguous(exact.size(), "are titled '" + name + "'");

    const auto running = indicesWhere(candidates, [&](const ConsoleTitle& t) { return titleWithCommand(t, name); });
    if (running.size() == 1)
        return running.front();
    if (running.size() > 1)
        throwAmbiguous(running.size(), "have titles beginning with '" + name + " - '");

    throw ConsoleNotFound("no window titled '" + name + "' was found");
}

} // namespace vt
