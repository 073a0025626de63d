#include "platform/multiplexer/screen_sessions.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "platform/failures.h"

namespace vt::multiplexer {

namespace {

struct SessionLine {
    std::string id; // PID.NAME
    std::string name;
    bool dead = false;
};

// "\t12345.NAME\t(12/07/26 01:13:02)\t(Detached)"
std::vector<SessionLine> parseSessions(const std::string& listing)
{
    std::vector<SessionLine> sessions;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] != '\t')
            continue;
        const std::size_t end = line.find('\t', 1);
        const std::string id = line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        const std::size_t dot = id.find('.');
        if (dot == 0 || dot == std::string::npos || id.find_first_not_of("0123456789") != dot)
            continue;
        sessions.push_back({id, id.substr(dot + 1), line.find("(Dead") != std::string::npos});
    }
    return sessions;
}

struct WindowLine {
    std::string number;
    std::string title;
};

// "0\tsh\n1\tlogs\n" (kScreenWindowFormat); a title may hold tabs.
std::vector<WindowLine> parseWindows(const std::string& listing)
{
    std::vector<WindowLine> windows;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string::npos || line.find_first_not_of("0123456789") != tab)
            continue;
        windows.push_back({line.substr(0, tab), line.substr(tab + 1)});
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

std::string listed(const std::vector<WindowLine>& windows)
{
    std::string list;
    for (const WindowLine& window : windows)
        list += (list.empty() ? "" : ", ") + window.number + " " + quoted(window.title);
    return list;
}

} // namespace

ScreenName parseScreenName(const std::string& listing, const std::string& name)
{
    const std::size_t colon = name.find(':');
    const std::vector<SessionLine> sessions = parseSessions(listing);
    const bool wholeName =
        std::any_of(sessions.begin(), sessions.end(), [&](const SessionLine& session) { return session.name == name; });
    if (colon == std::string::npos || wholeName)
        return {name, std::nullopt};
    if (colon + 1 == name.size())
        throw ConsoleNotFound("the screen name " + quoted(name) + " has no window after the ':'");
    return {name.substr(0, colon), name.substr(colon + 1)};
}

std::string chooseScreenWindow(const std::string& listing, const ScreenName& name)
{
    const std::vector<WindowLine> windows = parseWindows(listing);
    if (!name.window) {
        if (windows.size() == 1)
            return windows[0].number;
        if (windows.empty())
            throw ConsoleNotFound("the screen session " + quoted(name.session) + " lists no windows");
        throw ConsoleAmbiguous("the screen session " + quoted(name.session) + " has " + std::to_string(windows.size()) +
                               " windows (" + listed(windows) + "); name the server's window as " +
                               quoted(name.session + ":WINDOW") + " (its number or title)");
    }
    std::vector<WindowLine> found;
    for (const WindowLine& window : windows) {
        if (allDigits(*name.window) ? window.number == *name.window : window.title == *name.window)
            found.push_back(window);
    }
    if (found.empty())
        throw ConsoleNotFound("the screen session " + quoted(name.session) + " has no window " + quoted(*name.window));
    if (found.size() > 1)
        throw ConsoleAmbiguous("the screen session " + quoted(name.session) + " has " + std::to_string(found.size()) +
                               " windows titled " + quoted(*name.window) + " (" + listed(found) + "); use its number");
    return found[0].number;
}

std::string chooseScreenSession(const std::string& listing, const std::string& name)
{
    std::vector<std::string> live;
    bool deadOne = false;
    for (const SessionLine& session : parseSessions(listing)) {
        if (session.name != name)
            continue;
        if (session.dead)
            deadOne = true;
        else
            live.push_back(session.id);
    }
    if (live.size() > 1)
        throw ConsoleAmbiguous("there are " + std::to_string(live.size()) + " screen sessions named '" + name + "' (" +
                               live[0] + ", " + live[1] + "); quit the extra one or rename it");
    if (live.empty() && deadOne)
        throw ConsoleNotFound("the screen session '" + name + "' is dead (screen -wipe clears it); restart the server");
    if (live.empty())
        throw ConsoleNotFound("no screen session named '" + name + "' was found");
    return live[0];
}

} // namespace vt::multiplexer
