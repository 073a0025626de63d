#pragma once

#include <atomic>
#include <cstdint>
#include <map>

#include <windows.h>

#include "platform/ui/event_loop.h"

namespace vt::win32 {

// The Win32 message loop. Timers are SetTimer timers on a hidden
// message-only window; each tick is re-armed for the next due time counted
// from the previous one, so a timer does not drift by the lateness of
// WM_TIMER (it stays as exact as the system's timer resolution, 10-16 ms),
// and one started by a tick's handler counts from when that tick was due
// (EventLoop::firstDueMs), not from after the step it typed. Tasks posted
// from other threads arrive as a message to the same window, so that every
// message loop runs them, a dialog's or a menu's own included.
class Win32EventLoop : public EventLoop {
public:
    Win32EventLoop();
    ~Win32EventLoop() override;
    Win32EventLoop(const Win32EventLoop&) = delete;
    Win32EventLoop& operator=(const Win32EventLoop&) = delete;

    std::int64_t nowMs() const override;
    void timerChanged(Timer& timer) override;
    // A nested message loop: the owner stays disabled (the form tells its
    // view), and every timer keeps firing.
    void runModal(Form& dialog) override;
    void run(Form& main) override;

protected:
    // Safe from any thread.
    void wake() override;

private:
    struct Scheduled {
        Timer* timer;
        std::int64_t dueMs;
    };
    static LRESULT CALLBACK timerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void fire(UINT_PTR id);
    void arm(UINT_PTR id, std::int64_t dueMs);
    // Runs messages until the form has unloaded; false when WM_QUIT arrived first.
    bool pumpUntilUnloaded(const Form& form);

    HWND timerWindow_ = nullptr;
    std::map<UINT_PTR, Scheduled> scheduled_;
    UINT_PTR nextId_ = 1;
    // A wake message is on its way: more posts need no other.
    std::atomic<bool> wakePending_{false};
};

} // namespace vt::win32
