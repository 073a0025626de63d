#pragma once

#include <optional>
#include <string>

namespace vt::multiplexer {

// A console name as tmux reads it: "SESSION" (its current window) or
// "SESSION:WINDOW" (a window name, or a window index when all digits).
struct TmuxName {
    std::string session;
    std::optional<std::string> window;
};

// Splits at the first ':'. Throws ConsoleNotFound for a name no tmux session
// can have: empty, or with a '.' in the session part (tmux turns ':' and '.'
// in session names into '_'), so the lookup goes on to the next link.
TmuxName parseTmuxName(const std::string& name);

// The format list-windows is asked for; chooseTmuxWindow reads its lines.
inline constexpr const char* kTmuxWindowFormat =
    "#{window_id}\t#{window_index}\t#{window_active}\t#{pane_dead}\t#{window_name}";

// The window id ("@3") to type into, from list-windows' lines for the
// session: its active window, or the one window named (or numbered) as asked.
// Throws ConsoleNotFound (no such window, or its program has exited and the
// pane stays dead) or ConsoleAmbiguous (two windows of that name).
std::string chooseTmuxWindow(const std::string& listing, const TmuxName& name);

} // namespace vt::multiplexer
