#include "platform/win32/ui/win32_event_loop.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/win32/ui/form_messages.h"

namespace vt::win32 {

namespace {

const wchar_t* const kTimerWindowClass = L"VT_HALTWARD_TIMERS";
// Sent to the timer window by wake(): run what other threads posted.
constexpr UINT kWakeMessage = WM_APP + 1;

void registerTimerWindowClass(WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kTimerWindowClass;
    RegisterClassExW(&windowClass); // fails harmlessly when already registered
}

} // namespace

Win32EventLoop::Win32EventLoop()
{
    registerTimerWindowClass(timerWindowProc);
    timerWindow_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (!timerWindow_)
        throw std::runtime_error("could not create the timer window");
    SetWindowLongPtrW(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32EventLoop::~Win32EventLoop()
{
    for (const auto& [id, entry] : scheduled_)
        KillTimer(timerWindow_, id);
    DestroyWindow(timerWindow_);
}

std::int64_t Win32EventLoop::nowMs() const
{
    return static_cast<std::int64_t>(GetTickCount64());
}

void Win32EventLoop::timerChanged(Timer& timer)
{
    for (auto it = scheduled_.begin(); it != scheduled_.end(); ++it) {
        if (it->second.timer == &timer) {
            KillTimer(timerWindow_, it->first);
            scheduled_.erase(it);
            break;
        }
    }
    if (!timer.running())
        return;
    const UINT_PTR id = nextId_++;
    scheduled_[id] = Scheduled{&timer, firstDueMs(timer)};
    arm(id, scheduled_[id].dueMs);
}

void Win32EventLoop::arm(UINT_PTR id, std::int64_t dueMs)
{
    const std::int64_t wait = std::max<std::int64_t>(dueMs - nowMs(), USER_TIMER_MINIMUM);
    SetTimer(timerWindow_, id, static_cast<UINT>(wait), nullptr);
}

void Win32EventLoop::fire(UINT_PTR id)
{
    const auto it = scheduled_.find(id);
    if (it == scheduled_.end()) {
        KillTimer(timerWindow_, id);
        return;
    }
    Scheduled& entry = it->second;
    // WM_TIMER may come early by the timer's granularity: wait for the due time.
    if (nowMs() < entry.dueMs) {
        arm(id, entry.dueMs);
        return;
    }
    Timer& timer = *entry.timer;
    const std::int64_t dueMs = entry.dueMs;
    entry.dueMs += timer.interval();
    arm(id, entry.dueMs);
    // The handler may disable, re-enable or change this timer: the entry
    // may be gone when it returns.
    const std::function<void()> handler = timer.onTimer;
    if (handler)
        dispatchTick(timer, dueMs, handler);
}

void Win32EventLoop::wake()
{
    // A message to a window, not to the thread: a modal loop we do not own
    // (a message box, a window being moved) dispatches it too, where a
    // thread message would be dropped.
    if (!wakePending_.exchange(true) && !PostMessageW(timerWindow_, kWakeMessage, 0, 0))
        wakePending_ = false; // the queue is full: the loop looks before it sleeps
}

LRESULT CALLBACK Win32EventLoop::timerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kWakeMessage) {
        if (auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            // Cleared first: a task posted while these run wakes the loop again.
            loop->wakePending_ = false;
            loop->runPosted();
        }
        return 0;
    }
    if (message == WM_TIMER) {
        if (auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            loop->fire(static_cast<UINT_PTR>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32EventLoop::pumpUntilUnloaded(const Form& form)
{
    while (!form.isUnloaded()) {
        runPosted();
        if (form.isUnloaded())
            break;
        MSG message;
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) {
            // Leave the quit for the outer loop too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (result < 0)
            throw std::runtime_error("the message loop failed");
        if (routeFormMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void Win32EventLoop::runModal(Form& dialog)
{
    pumpUntilUnloaded(dialog);
}

void Win32EventLoop::run(Form& main)
{
    // A quit posted from outside (the session ending) closes the program the
    // ordinary way, so the settings are stored.
    if (!pumpUntilUnloaded(main) && !main.isUnloaded())
        main.unload();
}

} // namespace vt::win32
