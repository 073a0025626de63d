// A stand-in for a console that is an ordinary window (not a console host):
// window_recorder TITLE TRANSCRIPT [STEAL_AFTER]. It records the characters it
// receives, one line per Enter, as UTF-8 to TRANSCRIPT, and creates
// TRANSCRIPT.ready once its window is up. With STEAL_AFTER, a second window
// "THIEF" takes the foreground after that many characters, and whatever it
// receives goes to TRANSCRIPT.thief.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring transcript;
std::wstring line;
long stealAfter = -1;
long received = 0;
HWND thief = nullptr;

void append(const std::wstring& path, const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    if (FILE* file = _wfopen(path.c_str(), L"ab")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

LRESULT CALLBACK targetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR) {
        const auto unit = static_cast<wchar_t>(wParam);
        if (unit == L'\r') {
            append(transcript, line + L"\n");
            line.clear();
        } else {
            line += unit;
        }
        if (++received == stealAfter && thief)
            SetForegroundWindow(thief);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK thiefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR) {
        append(transcript + L".thief", std::wstring(1, static_cast<wchar_t>(wParam)));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeWindow(const wchar_t* className, WNDPROC procedure, const wchar_t* title, int x)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    return window;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("usage: window_recorder TITLE TRANSCRIPT [STEAL_AFTER]\n", stderr);
        return 2;
    }
    transcript = argv[2];
    if (argc > 3) {
        stealAfter = std::wcstol(argv[3], nullptr, 10);
        thief = makeWindow(L"VT_TEST_THIEF", thiefProc, L"THIEF", 400);
    }
    makeWindow(L"VT_TEST_TARGET", targetProc, argv[1], 0);
    if (FILE* ready = _wfopen((transcript + L".ready").c_str(), L"wb"))
        std::fclose(ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
