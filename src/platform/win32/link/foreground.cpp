#include "platform/win32/link/foreground.h"

namespace vt::win32 {

namespace {

bool settles(const ForegroundCalls& calls, int settleMs)
{
    constexpr int kStepMs = 10;
    for (int waited = 0;; waited += kStepMs) {
        if (calls.isForeground())
            return true;
        if (waited >= settleMs)
            return false;
        calls.sleepMs(kStepMs);
    }
}

} // namespace

ForegroundResult bringToFront(const ForegroundCalls& calls, int settleMs)
{
    calls.restoreIfMinimised();
    if (calls.isForeground())
        return ForegroundResult::Done;
    calls.setForeground();
    if (settles(calls, settleMs))
        return ForegroundResult::Done;
    calls.setWithSharedInput();
    if (settles(calls, settleMs))
        return ForegroundResult::DoneWithSharedInput;
    // Last, since the tap goes to whichever window has the keyboard: an Alt
    // there can open its menu bar.
    if (calls.tapAlt()) {
        calls.setForeground();
        if (settles(calls, settleMs))
            return ForegroundResult::DoneAfterAltTap;
    }
    return ForegroundResult::Refused;
}

} // namespace vt::win32
