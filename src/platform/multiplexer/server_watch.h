#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/link/console_watch.h"
#include "platform/posix/console_processes.h"

namespace vt::multiplexer {

class Wakeup;

// The programs reading a console, found from its terminal's first process
// (a tmux pane's, a screen window's). Throws NoServerRunning, before any key,
// when the console's foreground program is an interactive shell at its
// prompt, and ConsoleNotFound when that process has gone.
posix::ConsoleProcesses consoleServer(pid_t member, const std::string& title);

// Watches a console's server for a watch's thread: wakes it (ServerEnded)
// when every program of the server has ended, and afterwards, when asked,
// looks for a new server in the same console once a second for a minute.
class ServerWatch {
public:
    using Clock = std::chrono::steady_clock;

    // member: the console's first process; nothing is watched when it is 0
    // or the console has no server.
    ServerWatch(pid_t member, Wakeup& wakeup);
    ~ServerWatch();
    ServerWatch(const ServerWatch&) = delete;
    ServerWatch& operator=(const ServerWatch&) = delete;

    // Looks for a new server from now on (after ServerEnded, for a restart).
    void lookForNewServer();
    // When the next look is due; nullopt when none is.
    std::optional<Clock::time_point> nextLook() const;
    // Looks if a look is due: ServerStarted when a new server runs,
    // ConsoleClosed when the console has gone (either ends the looking).
    std::optional<ConsoleSighting> lookIfDue();

private:
    pid_t member_;
    std::vector<pid_t> server_;
    std::unique_ptr<posix::ProcessEndWatch> end_;
    std::optional<Clock::time_point> nextLook_;
    Clock::time_point lookUntil_{};
};

// How long a poll() may sleep until `due` (-1: no limit).
int pollTimeout(std::optional<ServerWatch::Clock::time_point> due);

} // namespace vt::multiplexer
