#include "platform/win32/link/win32_console_link.h"

#include <windows.h>

#include <vector>

#include "platform/failures.h"
#include "platform/link/title_match.h"
#include "platform/win32/link/console_input_sender.h"
#include "platform/win32/link/foreground_calls.h"
#include "platform/win32/link/send_input_sender.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

struct TopWindow {
    HWND handle;
    std::string title;
};

std::string windowTitle(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, title.data(), length + 1);
    title.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(title);
}

BOOL CALLBACK collectWindow(HWND window, LPARAM context)
{
    auto& windows = *reinterpret_cast<std::vector<TopWindow>*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // Our own windows never count: the console is another program's.
    if (process == GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    std::string title = windowTitle(window);
    if (!title.empty())
        windows.push_back({window, std::move(title)});
    return TRUE;
}

std::vector<TopWindow> topWindows()
{
    std::vector<TopWindow> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Windows' own console windows, and Wine's console host, which draws them
// under its own class name.
bool isConsoleWindow(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    const std::wstring className = name;
    return className == L"ConsoleWindowClass" || className == L"WineConsoleClass";
}

} // namespace

std::unique_ptr<KeySender> Win32ConsoleLink::activate(const std::string& title)
{
    const std::vector<TopWindow> windows = topWindows();
    const HWND target = chooseConsole(windows, title, [](const TopWindow& window) {
                            return ConsoleTitle{window.title, isConsoleWindow(window.handle)};
                        }).handle;

    // Keys go into a console's input buffer, which needs no focus: the
    // operator's window keeps it.
    if (isConsoleWindow(target))
        return std::make_unique<ConsoleInputSender>(target, title);
    const HWND previous = GetForegroundWindow();
    if (bringToFront(systemForegroundCalls(target)) == ForegroundResult::Refused)
        throw KeySenderFailed("Windows refused to bring the window '" + title + "' to the front; nothing was typed");
    return std::make_unique<SendInputSender>(target, title, previous, halfLines_[target]);
}

} // namespace vt::win32
