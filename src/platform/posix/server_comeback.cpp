#include "platform/posix/server_comeback.h"

#include "platform/posix/console_processes.h"

namespace vt::posix {

namespace {

// Once a second is plenty to report a server back up, and costs nothing
// next to the server starting.
constexpr auto kLookEvery = std::chrono::seconds(1);

} // namespace

ServerComeback::ServerComeback(pid_t member, std::vector<pid_t> oldServer, std::function<void(ConsoleSighting)> seen,
                               std::chrono::seconds lookFor)
    : member_(member), oldServer_(std::move(oldServer)), seen_(std::move(seen)), lookFor_(lookFor),
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
    // seen() may itself drop this: its thread then ends on its own.
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

void ServerComeback::look()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ended_ || cancelled_; });
    const auto until = std::chrono::steady_clock::now() + lookFor_;
    while (!changed_.wait_for(lock, kLookEvery, [this] { return cancelled_; })) {
        lock.unlock();
        if (const auto sighting = newServerSighting(member_, oldServer_)) {
            const auto seen = seen_; // seen() may destroy this
            seen(*sighting);
            return;
        }
        lock.lock();
        if (std::chrono::steady_clock::now() >= until)
            return;
    }
}

} // namespace vt::posix
