// Watches which window Windows considers the foreground (under Wine without
// a window manager only Windows' own GetForegroundWindow shows activations):
// foreground_watch LOG SECONDS [MINIMISE_TITLE]. It first minimises the
// window titled MINIMISE_TITLE, opens a window "OPERATOR" of its own that
// takes the foreground (the operator's work, covering the rest), creates
// LOG.ready, then for SECONDS logs the foreground's title at the start and
// at every change, "iconic 0|1" when the minimised window's state changes
// and "closed" when it has gone.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring titleOf(HWND window)
{
    if (!window)
        return L"(none)";
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

void logLine(const std::wstring& path, const std::string& line)
{
    if (FILE* file = _wfopen(path.c_str(), L"ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

HWND operatorWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VT_TEST_OPERATOR";
    RegisterClassW(&windowClass);
    return CreateWindowW(L"VT_TEST_OPERATOR", L"OPERATOR", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 450, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("usage: foreground_watch LOG SECONDS [MINIMISE_TITLE]\n", stderr);
        return 2;
    }
    const std::wstring log = argv[1];
    HWND minimised = nullptr;
    if (argc > 3) {
        minimised = FindWindowW(nullptr, argv[3]);
        if (!minimised || (!ShowWindow(minimised, SW_MINIMIZE) && !IsIconic(minimised))) {
            std::fputs("no window to minimise\n", stderr);
            return 1;
        }
    }
    const HWND own = operatorWindow();
    SetForegroundWindow(own);
    pump();
    if (GetForegroundWindow() != own) {
        std::fputs("could not take the foreground\n", stderr);
        return 1;
    }
    if (FILE* ready = _wfopen((log + L".ready").c_str(), L"wb"))
        std::fclose(ready);
    HWND last = reinterpret_cast<HWND>(-1);
    int iconic = -1;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(_wtoi(argv[2])) * 1000;
    while (GetTickCount64() < end) {
        pump();
        const HWND now = GetForegroundWindow();
        if (now != last) {
            logLine(log, "foreground " + utf8(titleOf(now)));
            last = now;
        }
        // IsIconic says 0 for a window that is gone, so its answer counts
        // only if the window still is there after it.
        const int state = minimised && IsIconic(minimised) ? 1 : 0;
        if (minimised && !IsWindow(minimised)) {
            logLine(log, "closed"); // the console ends after "stop"
            minimised = nullptr;
        }
        if (minimised && state != iconic) {
            iconic = state;
            logLine(log, "iconic " + std::to_string(iconic));
        }
        Sleep(2);
    }
    return 0;
}
