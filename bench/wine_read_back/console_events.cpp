// Does this Windows tell of console updates? Windows' console host raises
// accessibility events (EVENT_CONSOLE_UPDATE_*) when a console's text
// changes; a watch could wait for them instead of reading the console on a
// clock. This opens a console of its own, hooks those events, writes a line
// to the console, and counts what arrives within a second. A control event
// that it raises itself shows that the hook works.
//   console_events
// Prints the counts; exits 0 when the console's write was told, 1 when not.
#include <windows.h>

#include <cstdio>

namespace {

int updates = 0; // EVENT_CONSOLE_UPDATE_REGION, _SIMPLE or _SCROLL
int controls = 0;
HWND controlWindow = nullptr;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD)
{
    if (event < EVENT_CONSOLE_UPDATE_REGION || event > EVENT_CONSOLE_UPDATE_SCROLL)
        return;
    if (window == controlWindow)
        ++controls;
    else
        ++updates;
}

void pumpFor(DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

} // namespace

int main()
{
    FreeConsole();
    if (!AllocConsole()) {
        std::fputs("could not open a console\n", stderr);
        return 2;
    }
    const HANDLE output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_CONSOLE_CARET, EVENT_CONSOLE_END_APPLICATION, nullptr, onEvent, 0,
                                               0, WINEVENT_OUTOFCONTEXT);
    controlWindow = CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (output == INVALID_HANDLE_VALUE || !hook || !controlWindow) {
        std::fputs("could not set the probe up\n", stderr);
        return 2;
    }
    pumpFor(300); // what the console's opening raised is not counted
    updates = 0;
    DWORD written = 0;
    WriteConsoleW(output, L"[Server] probe\r\n", 16, &written, nullptr);
    NotifyWinEvent(EVENT_CONSOLE_UPDATE_REGION, controlWindow, OBJID_CLIENT, CHILDID_SELF);
    pumpFor(1000);
    UnhookWinEvent(hook);
    std::printf("console update events after a write: %d; the control event: %s\n", updates,
                controls > 0 ? "seen" : "NOT seen (the hook does not work)");
    return updates > 0 ? 0 : 1;
}
