#include "platform/multiplexer/tmux_target.h"

#include <sstream>
#include <vector>

#include "platform/failures.h"

namespace vt::multiplexer {

namespace {

struct WindowLine {
    std::string id;
    std::string index;
    bool active = false;
    bool dead = false;
    std::string name;
};

std::vector<WindowLine> parseWindows(const std::string& listing)
{
    std::vector<WindowLine> windows;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        // The name is last and may itself hold tabs.
        for (int field = 0; field < 4; ++field) {
            const std::size_t tab = line.find('\t', start);
            if (tab == std::string::npos)
                break;
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        if (fields.size() != 4 || fields[0].empty() || fields[0][0] != '@')
            continue;
        windows.push_back({fields[0], fields[1], fields[2] == "1", fields[3] == "1", line.substr(start)});
    }
    return windows;
}

bool allDigits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::string describeName(const TmuxName& name)
{
    return name.window ? name.session + ":" + *name.window : name.session;
}

std::vector<WindowLine> wanted(const std::vector<WindowLine>& windows, const TmuxName& name)
{
    std::vector<WindowLine> found;
    for (const WindowLine& window : windows) {
        const bool match = !name.window              ? window.active
                           : allDigits(*name.window) ? window.index == *name.window
                                                     : window.name == *name.window;
        if (match)
            found.push_back(window);
    }
    return found;
}

} // namespace

TmuxName parseTmuxName(const std::string& name)
{
    TmuxName parsed;
    const std::size_t colon = name.find(':');
    parsed.session = name.substr(0, colon);
    if (colon != std::string::npos)
        parsed.window = name.substr(colon + 1);
    if (parsed.session.empty())
        throw ConsoleNotFound("no tmux session has an empty name (" + quoted(name) + ")");
    if (parsed.session.find('.') != std::string::npos)
        throw ConsoleNotFound("no tmux session can be named " + quoted(parsed.session) +
                              " (tmux allows no '.' in session names)");
    if (parsed.window && parsed.window->empty())
        throw ConsoleNotFound("the tmux name " + quoted(name) + " has no window after the ':'");
    return parsed;
}

std::string chooseTmuxWindow(const std::string& listing, const TmuxName& name)
{
    const std::vector<WindowLine> found = wanted(parseWindows(listing), name);
    if (found.empty())
        throw ConsoleNotFound("the tmux session " + quoted(name.session) + " has no window " +
                              quoted(name.window.value_or("")));
    if (found.size() > 1)
        throw ConsoleAmbiguous("the tmux session " + quoted(name.session) + " has " + std::to_string(found.size()) +
                               " windows named " + quoted(*name.window) + " (" + found[0].id + ", " + found[1].id +
                               "); rename one or use its number");
    if (found[0].dead)
        throw ConsoleNotFound("the program in tmux " + quoted(describeName(name)) +
                              " has exited (its pane is dead); restart the server there");
    return found[0].id;
}

} // namespace vt::multiplexer
