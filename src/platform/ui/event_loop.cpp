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
    }
    reports_.succeeded(step);
}

} // namespace vt
