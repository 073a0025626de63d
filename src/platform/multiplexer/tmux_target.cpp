#include "platform/multiplexer/tmux_target.h"

#include <algorithm>
#include <iterator>
#include <sstream>
#include <utility>

#include "platform/failures.h"

namespace vt::multiplexer {

namespace {

// The window name comes last: it may itself hold tabs.
constexpr const char* kSessionFormat = "#{session_id}\t#{session_name}";
constexpr const char* kPaneFormat = "#{pane_id}\t#{session_id}\t#{window_id}\t#{window_index}\t#{window_active}\t"
                                    "#{pane_index}\t#{pane_dead}\t#{pane_current_command}\t#{pane_pid}\t#{window_name}";

struct SessionLine {
    std::string id; // "$2"
    std::string name;
};

struct PaneLine {
    std::string id;      // "%3"
    std::string session; // "$2"
    std::string window;  // "@4"
    std::string windowIndex;
    bool windowActive = false;
    std::string index;
    bool dead = false;
    std::string command;
    std::string pid;
    std::string windowName;
};

struct Listing {
    std::vector<SessionLine> sessions;
    std::vector<PaneLine> panes;
};

// One of the readings of a name: a window (none: the active one) and a pane
// index (none: the window's only pane).
struct Reading {
    std::optional<std::string> window;
    std::optional<std::string> pane;
};

// count fields at tabs, the last one taking the rest of the line; empty when
// the line has fewer.
std::vector<std::string> splitFields(const std::string& line, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < count) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string::npos)
            return {};
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

Listing parseListing(const std::string& output)
{
    Listing listing;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind('$', 0) == 0) {
            if (const auto f = splitFields(line, 2); !f.empty())
                listing.sessions.push_back({f[0], f[1]});
        } else if (line.rfind('%', 0) == 0) {
            if (const auto f = splitFields(line, 10); !f.empty())
                listing.panes.push_back({f[0], f[1], f[2], f[3], f[4] == "1", f[5], f[6] == "1", f[7], f[8], f[9]});
        }
    }
    return listing;
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

// The session's panes; its name compared here, as tmux's "=NAME:" would also
// take a session id or a client's tty.
std::vector<PaneLine> panesOfSession(const Listing& listing, const std::string& name)
{
    const auto session = std::find_if(listing.sessions.begin(), listing.sessions.end(),
                                      [&](const SessionLine& line) { return line.name == name; });
    if (session == listing.sessions.end())
        throw ConsoleNotFound("no tmux session named " + quoted(name) + " was found");
    std::vector<PaneLine> panes;
    std::copy_if(listing.panes.begin(), listing.panes.end(), std::back_inserter(panes),
                 [&](const PaneLine& pane) { return pane.session == session->id; });
    return panes;
}

// "SESSION:WINDOW" names a window; "SESSION:WINDOW.PANE" may also name pane
// PANE of the window WINDOW, when its end is a number.
std::vector<Reading> readings(const TmuxName& name)
{
    std::vector<Reading> all{{name.window, std::nullopt}};
    if (!name.window)
        return all;
    const std::size_t dot = name.window->rfind('.');
    if (dot != std::string::npos && dot > 0 && allDigits(name.window->substr(dot + 1)))
        all.push_back({name.window->substr(0, dot), name.window->substr(dot + 1)});
    return all;
}

bool windowMatches(const PaneLine& pane, const std::optional<std::string>& window)
{
    if (!window)
        return pane.windowActive;
    return allDigits(*window) ? pane.windowIndex == *window : pane.windowName == *window;
}

// The ids of the windows a reading names, each once.
std::vector<std::string> windowsMatching(const std::vector<PaneLine>& panes, const std::optional<std::string>& window)
{
    std::vector<std::string> ids;
    for (const PaneLine& pane : panes) {
        if (windowMatches(pane, window) && std::find(ids.begin(), ids.end(), pane.window) == ids.end())
            ids.push_back(pane.window);
    }
    return ids;
}

// The one window the name means, with the pane index it names, if any.
std::pair<std::string, std::optional<std::string>> chooseWindow(const std::vector<PaneLine>& panes,
                                                                const TmuxName& name)
{
    std::vector<std::pair<std::string, std::optional<std::string>>> found;
    for (const Reading& reading : readings(name)) {
        const std::vector<std::string> windows = windowsMatching(panes, reading.window);
        if (windows.size() > 1)
            throw ConsoleAmbiguous("the tmux session " + quoted(name.session) + " has " +
                                   std::to_string(windows.size()) + " windows named " +
                                   quoted(reading.window.value_or("")) + " (" + windows[0] + ", " + windows[1] +
                                   "); rename one or use its number");
        if (!windows.empty())
            found.emplace_back(windows[0], reading.pane);
    }
    if (found.empty())
        throw ConsoleNotFound("the tmux session " + quoted(name.session) + " has no window " +
                              quoted(name.window.value_or("")));
    if (found.size() > 1)
        throw ConsoleAmbiguous("the tmux name " + quoted(describeName(name)) + " means both the window " +
                               quoted(*name.window) + " and pane " + *found[1].second + " of the window " +
                               quoted(*readings(name)[1].window) + "; rename the window");
    return found[0];
}

// A window's pane: the one numbered as asked, or its only one.
PaneLine choosePane(const std::vector<PaneLine>& panes, const std::string& window,
                    const std::optional<std::string>& index, const TmuxName& name)
{
    // A window linked into the session twice lists its panes twice.
    std::vector<PaneLine> inWindow;
    for (const PaneLine& pane : panes) {
        const bool listed =
            std::any_of(inWindow.begin(), inWindow.end(), [&](const PaneLine& other) { return other.id == pane.id; });
        if (pane.window == window && (!index || pane.index == *index) && !listed)
            inWindow.push_back(pane);
    }
    const std::string windowName = name.session + ":" + (inWindow.empty() ? "" : inWindow[0].windowIndex);
    if (inWindow.empty())
        throw ConsoleNotFound("the tmux window of " + quoted(describeName(name)) + " has no pane " +
                              index.value_or(""));
    if (inWindow.size() > 1) {
        std::string list;
        for (const PaneLine& pane : inWindow)
            list += (list.empty() ? "" : ", ") + quoted(windowName + "." + pane.index) + " " + pane.command;
        throw ConsoleAmbiguous("the tmux window " + quoted(windowName) + " has " + std::to_string(inWindow.size()) +
                               " panes (" + list + "); name the server's pane as " + quoted(windowName + ".PANE"));
    }
    return inWindow[0];
}

// 0 when tmux gave no number.
pid_t pidOf(const std::string& text)
{
    if (!allDigits(text) || text.size() > 9)
        return 0;
    return static_cast<pid_t>(std::stol(text));
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

std::vector<std::string> tmuxListingArgs()
{
    return {"list-sessions", "-F", kSessionFormat, ";", "list-panes", "-a", "-F", kPaneFormat};
}

TmuxPane chooseTmuxPane(const std::string& listing, const TmuxName& name)
{
    const std::vector<PaneLine> panes = panesOfSession(parseListing(listing), name.session);
    const auto [window, index] = chooseWindow(panes, name);
    const PaneLine pane = choosePane(panes, window, index, name);
    if (pane.dead)
        throw ConsoleNotFound("the program in tmux " + quoted(describeName(name)) +
                              " has exited (its pane is dead); restart the server there");
    return {pane.id, pane.window, pidOf(pane.pid)};
}

} // namespace vt::multiplexer
