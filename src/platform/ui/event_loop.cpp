#include "platform/ui/event_loop.h"

#include "platform/failures.h"

namespace vt {

void EventLoop::dispatch(const std::string& step, const std::function<void()>& handler)
{
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
