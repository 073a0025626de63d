#pragma once

#include <functional>

namespace vt::win32 {

// What bringing a window to the front needs from the system, so that the
// escalation below can be driven by a test that plays a refusing Windows.
struct ForegroundCalls {
    std::function<void()> restoreIfMinimised;
    std::function<void()> setForeground;      // SetForegroundWindow(target)
    std::function<bool()> isForeground;       // GetForegroundWindow() == target
    std::function<bool()> tapAlt;             // Alt down and up; false if the up could not be sent
    std::function<void()> setWithSharedInput; // AttachThreadInput to the foreground thread around the call
    std::function<void(int)> sleepMs;
};

enum class ForegroundResult { Done, DoneAfterAltTap, DoneWithSharedInput, Refused };

// Windows lets only the process that received the last input take the
// foreground; otherwise SetForegroundWindow just flashes the taskbar button.
// Tries the plain call, then with the input state shared with the foreground
// thread, and only then after an Alt tap (which counts as our input but
// reaches whatever window has the keyboard). Each try is
// verified, polling for up to settleMs because activating another process's
// window can land a little later.
ForegroundResult bringToFront(const ForegroundCalls& calls, int settleMs = 300);

} // namespace vt::win32
