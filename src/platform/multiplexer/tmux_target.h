#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::multiplexer {

// A console name as tmux reads it: "SESSION" (its current window),
// "SESSION:WINDOW" (a window name, or a window index when all digits) or
// "SESSION:WINDOW.PANE" (a pane index in that window).
struct TmuxName {
    std::string session;
    std::optional<std::string> window; // with ".PANE", if given
};

// Splits at the first ':'. Throws ConsoleNotFound for a name no tmux session
// can have: empty, or with a '.' in the session part (tmux turns ':' and '.'
// in session names into '_'), so the lookup goes on to the next link.
TmuxName parseTmuxName(const std::string& name);

// The arguments after "tmux" that list every session and every pane of the
// server in one call; chooseTmuxPane reads its output.
std::vector<std::string> tmuxListingArgs();

// A pane as the link uses it.
struct TmuxPane {
    std::string id;     // "%3": where the keys go and whose output is read
    std::string window; // "@4": its window, whose closing ends the console
    pid_t pid = 0;      // its first process; 0 when tmux did not say
};

// The pane to type into, from the output of tmuxListingArgs():
// the pane of the session whose name is exactly name.session (never a session
// id such as "$2" or a client's tty, which tmux's own targets also accept), in
// its active window or the one window named (or numbered) as asked; a window
// of several panes needs the pane named. Throws ConsoleNotFound (no such
// session, window or pane, or its program has exited and the pane stays dead)
// or ConsoleAmbiguous (two windows of that name, or several panes).
TmuxPane chooseTmuxPane(const std::string& listing, const TmuxName& name);

} // namespace vt::multiplexer
