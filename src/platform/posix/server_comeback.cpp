#include "platform/posix/server_comeback.h"

#include <algorithm>

#include "platform/posix/console_processes.h"

namespace vt::posix {

namespace {

// Once a second is plenty to report a server back up, and costs nothing
// next to the server starting.
constexpr auto kLookEvery = std::chrono::seconds(1);

} // namespace

ServerComeback::ServerComeback(pid_t member, std::vector<pid_t> oldServer, std::function<void()> started,
                               std::chrono::seconds lookFor)
    : member_(member), oldServer_(std::move(oldServer)), started_(std::move(started)), lookFor_(lookFor),
      thread_([this] { look(); })
{
}

ServerComeback::~ServerComeback()
{
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    // started() may itself drop this: its thread then ends on its own.
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

void ServerComeback::serverEnded()
{
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    changed_.notify_all();
}

bool ServerComeback::newServerRuns() const
{
    const auto now = consoleProcesses(member_);
    if (!now || now->atShellPrompt || now->onlyScripts || now->server.empty())
        return false;
    return std::ranges::none_of(now->server, [this](pid_t pid) { return std::ranges::count(oldServer_, pid) > 0; });
}

void ServerComeback::look()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ended_ || cancelled_; });
    const auto until = std::chrono::steady_clock::now() + lookFor_;
    while (!changed_.wait_for(lock, kLookEvery, [this] { return cancelled_; })) {
        lock.unlock();
        if (newServerRuns()) {
            const auto started = started_; // started() may destroy this
            started();
            return;
        }
        lock.lock();
        if (std::chrono::steady_clock::now() >= until)
            return;
    }
}

} // namespace vt::posix
