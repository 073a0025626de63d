#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/link/console_watch.h"

namespace vt::posix {

// After a restart: once told that the old server has ended, looks once a
// second, for a while, for a new server reading the same terminal (a start
// loop running it again). Calls seen() at most once, from a thread of its
// own: ServerStarted when there is one, ConsoleClosed when the terminal's
// process has gone with the old server, so that none can appear. A terminal
// left at a shell prompt, or with only its start script running, has none.
// Destroying it ends the look; seen() is not called after the destructor
// returns.
class ServerComeback {
public:
    // member: a process on the terminal (as for consoleProcesses); oldServer:
    // the server's programs before the restart.
    ServerComeback(pid_t member, std::vector<pid_t> oldServer, std::function<void(ConsoleSighting)> seen,
                   std::chrono::seconds lookFor = std::chrono::minutes(1));
    ~ServerComeback();
    ServerComeback(const ServerComeback&) = delete;
    ServerComeback& operator=(const ServerComeback&) = delete;

    // The old server has ended: the look begins.
    void serverEnded();

private:
    void look();

    const pid_t member_;
    const std::vector<pid_t> oldServer_;
    const std::function<void(ConsoleSighting)> seen_;
    const std::chrono::seconds lookFor_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ended_ = false;
    bool cancelled_ = false;
    std::thread thread_;
};

} // namespace vt::posix
