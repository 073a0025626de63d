#include "platform/win32/link/foreground_calls.h"

namespace vt::win32 {

namespace {

INPUT altKey(bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_MENU;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Down and up go in one call, so nothing can come between them; if the
// system takes only the down, the up is sent on its own so that no Alt is
// left held.
bool tapAlt()
{
    INPUT keys[2] = {altKey(false), altKey(true)};
    const UINT sent = SendInput(2, keys, sizeof(INPUT));
    if (sent == 2)
        return true;
    if (sent == 1) {
        INPUT up = altKey(true);
        return SendInput(1, &up, sizeof(INPUT)) == 1;
    }
    return false;
}

void setWithSharedInput(HWND target)
{
    const DWORD ours = GetCurrentThreadId();
    const DWORD theirs = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = theirs != 0 && theirs != ours && AttachThreadInput(ours, theirs, TRUE);
    BringWindowToTop(target);
    SetForegroundWindow(target);
    if (attached)
        AttachThreadInput(ours, theirs, FALSE);
}

} // namespace

ForegroundCalls systemForegroundCalls(HWND target)
{
    ForegroundCalls calls;
    calls.restoreIfMinimised = [target] {
        if (IsIconic(target))
            ShowWindow(target, SW_RESTORE);
    };
    calls.setForeground = [target] { SetForegroundWindow(target); };
    calls.isForeground = [target] { return GetForegroundWindow() == target; };
    calls.tapAlt = tapAlt;
    calls.setWithSharedInput = [target] { setWithSharedInput(target); };
    calls.sleepMs = [](int ms) { Sleep(static_cast<DWORD>(ms)); };
    return calls;
}

} // namespace vt::win32
