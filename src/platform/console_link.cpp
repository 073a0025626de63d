#include "platform/console_link.h"

#include "platform/failures.h"
#include "platform/keystroke_notation.h"

namespace vt {

void KeySender::sendKeys(std::string_view notation, bool wait)
{
    // Parsing the whole string first means a bad string types nothing at all,
    // rather than half a command.
    typeKeys(parseKeystrokes(notation), wait);
}

namespace {

// A Windows console shows "TITLE - command" while a program runs in it. The
// separator is required so that "SPIGOT-SERVER" never picks "SPIGOT-SERVER2".
bool titleWithCommand(const std::string& candidate, const std::string& title)
{
    const std::string prefix = title + " - ";
    return candidate.size() >= prefix.size() && candidate.compare(0, prefix.size(), prefix) == 0;
}

template <typename Matches>
std::vector<std::size_t> candidates(const std::vector<std::string>& titles, Matches matches)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (matches(titles[i])) found.push_back(i);
    }
    return found;
}

[[noreturn]] void throwAmbiguous(std::size_t count, const std::string& description)
{
    throw ConsoleNotFound(std::to_string(count) + " windows " + description
                          + "; a keystroke never goes to a guessed window");
}

} // namespace

std::size_t matchConsoleTitle(const std::vector<std::string>& titles, const std::string& title)
{
    if (title.empty()) {
        throw ConsoleNotFound("the server console title is empty; enter it in Settings & Messages");
    }
    const auto exact = candidates(titles, [&](const std::string& t) { return t == title; });
    if (exact.size() == 1) return exact.front();
    if (exact.size() > 1) throwAmbiguous(exact.size(), "are titled '" + title + "'");

    const auto running = candidates(titles, [&](const std::string& t) { return titleWithCommand(t, title); });
    if (running.size() == 1) return running.front();
    if (running.size() > 1) throwAmbiguous(running.size(), "have titles beginning with '" + title + " - '");

    throw ConsoleNotFound("no window titled '" + title + "' was found");
}

} // namespace vt
