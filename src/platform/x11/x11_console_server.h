#pragma once

#include <X11/Xlib.h>

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/link/console_watch.h"
#include "platform/posix/console_processes.h"

namespace vt::x11 {

// The programs behind a terminal window: the terminal emulator's process
// (_NET_WM_PID) and what reads the one terminal it runs.
struct TerminalServer {
    pid_t terminal = 0;
    // The terminal's child: the program it was started with.
    pid_t member = 0;
    // Known only when the terminal process runs one terminal of its own.
    std::optional<posix::ConsoleProcesses> processes;
    // Why the server cannot be watched, in the operator's words, when it
    // cannot.
    std::string unwatchedWhy;

    bool watched() const { return processes && !processes->server.empty(); }
};

TerminalServer findTerminalServer(Display* display, Window window);

// Reports ServerEnded once, when every program of the server has ended or
// the terminal itself has; after a restart's server ended, ServerStarted when
// a new one runs in the terminal within a minute. nullptr when the server is
// not watched.
std::unique_ptr<StepWatch> watchServerEnd(const TerminalServer& server, StepExpectation::Kind step, SightingSink sink);

} // namespace vt::x11
