#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
};

// What reads the terminal of process `member`; nullopt when it has gone.
std::optional<ConsoleProcesses> consoleProcesses(pid_t member);

// The children of a terminal emulator's process that run on a terminal other
// than its own: one for each window (or tab) it shows.
std::vector<pid_t> terminalChildren(pid_t terminal);

// Calls ended() once, from a thread of its own, when every process in pids
// has ended. It waits on process descriptors, never polling. Destroying it
// ends the wait; ended() is not called after the destructor returns.
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
