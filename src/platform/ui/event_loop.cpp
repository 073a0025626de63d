#include "platform/ui/event_loop.h"

#include <utility>

#include "platform/failures.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt {

namespace {

// Puts a value back when the scope ends, however it ends.
template <typename T>
class Restore {
public:
    Restore(T& variable, T value) : variable_(variable), saved_(std::exchange(variable, std::move(value))) {}
    ~Restore() { variable_ = std::move(saved_); }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& variable_;
    T saved_;
};

} // namespace

void EventLoop::dispatch(const std::string& step, const std::function<void()>& handler)
{
    runHandler(step, handler, std::nullopt);
}

void EventLoop::dispatchTick(const Timer& timer, std::int64_t dueMs, const std::function<void()>& handler)
{
    runHandler(timer.form().name() + "." + timer.name() + "_Timer", handler, dueMs);
}

void EventLoop::post(std::string step, std::function<void()> task)
{
    {
        const std::lock_guard<std::mutex> lock(postedMutex_);
        posted_.push_back({std::move(step), std::move(task)});
    }
    wake();
}

void EventLoop::runPosted()
{
    for (;;) {
        Posted next;
        {
            const std::lock_guard<std::mutex> lock(postedMutex_);
            if (posted_.empty())
                return;
            next = std::move(posted_.front());
            posted_.pop_front();
        }
        dispatch(next.step, next.task);
    }
}

std::int64_t EventLoop::firstDueMs(const Timer& timer) const
{
    const std::int64_t now = nowMs();
    if (tickDueMs_ && *tickDueMs_ + timer.interval() > now)
        return *tickDueMs_ + timer.interval();
    return now + timer.interval();
}

void EventLoop::runHandler(const std::string& step, const std::function<void()>& handler,
                           std::optional<std::int64_t> tickDueMs)
{
    const Restore<std::optional<std::int64_t>> countFrom(tickDueMs_, tickDueMs);
    try {
        handler();
    } catch (const Failure& failure) {
        reports_.failed(step, failure.what());
        return;
    } catch (const std::exception& error) {
        // Not one of the program's own failures (out of memory, a library's
        // exception): reported the same way, so the program goes on rather
        // than aborting.
        reports_.failed(step, describeUnexpected(error));
        return;
    }
    reports_.succeeded(step);
}

} // namespace vt
