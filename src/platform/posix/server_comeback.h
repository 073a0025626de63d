#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vt::posix {

// After a restart: once told that the old server has ended, looks once a
// second, for a while, for a new server reading the same terminal (a start
// loop running it again) and calls started() once, from a thread of its own,
// when there is one. A terminal left at a shell prompt, or with only its
// start script running, has none. Destroying it ends the look; started() is
// not called after the destructor returns.
class ServerComeback {
public:
    // member: a process on the terminal (as for consoleProcesses); oldServer:
    // the server's programs before the restart.
    ServerComeback(pid_t member, std::vector<pid_t> oldServer, std::function<void()> started,
                   std::chrono::seconds lookFor = std::chrono::minutes(1));
    ~ServerComeback();
    ServerComeback(const ServerComeback&) = delete;
    ServerComeback& operator=(const ServerComeback&) = delete;

    // The old server has ended: the look begins.
    void serverEnded();

private:
    void look();
    bool newServerRuns() const;

    const pid_t member_;
    const std::vector<pid_t> oldServer_;
    const std::function<void()> started_;
    const std::chrono::seconds lookFor_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ended_ = false;
    bool cancelled_ = false;
    std::thread thread_;
};

} // namespace vt::posix
