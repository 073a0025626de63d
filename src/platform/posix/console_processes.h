#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/link/console_watch.h"

namespace vt::posix {

// The programs reading a terminal, found from a process that has it as its
// controlling terminal (a tmux pane's first process, screen's window
// process, a terminal emulator's child).
struct ConsoleProcesses {
    // The foreground program is an interactive shell waiting at its prompt:
    // no server reads the console.
    bool atShellPrompt = false;
    // The foreground program's name, for reports ("java", "bash").
    std::string foreground;
    // The server: the programs of the terminal's foreground process group
    // other than shells (`bash start.sh` runs java: java is the server).
    std::vector<pid_t> server;
    // The foreground holds shells running scripts and no other program: a
    // script that reads the console itself (it is then the server), or a
    // start loop between two runs of its server.
    bool onlyScripts = false;
};

// What reads the terminal of process `member`; nullopt when it has gone.
std::optional<ConsoleProcesses> consoleProcesses(pid_t member);

// One look, after a restart, at the terminal of process `member`:
// ServerStarted when a server other than oldServer reads it (a shell prompt,
// or a start loop's script between two runs, is none), ConsoleClosed when
// `member` has gone with the old server, nullopt while neither.
std::optional<ConsoleSighting> newServerSighting(pid_t member, const std::vector<pid_t>& oldServer);

// The children of a terminal emulator's process that run on a terminal other
// than its own: one for each window (or tab) it shows.
std::vector<pid_t> terminalChildren(pid_t terminal);

// Calls ended() once, from a thread of its own, when every process in pids
// has ended (a process already gone, or a zombie, has). It waits on process
// descriptors (pidfd), never polling; only on a kernel without them (before
// Linux 5.3) does it look in /proc once a second. Destroying it ends the
// wait, after a running ended() has returned; ended() is not called after
// the destructor returns.
class ProcessEndWatch {
public:
    ProcessEndWatch(std::vector<pid_t> pids, std::function<void()> ended);
    ~ProcessEndWatch();
    ProcessEndWatch(const ProcessEndWatch&) = delete;
    ProcessEndWatch& operator=(const ProcessEndWatch&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vt::posix
