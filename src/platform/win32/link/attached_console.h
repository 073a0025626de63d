#pragma once

#include <windows.h>

#include <string>

namespace vt::win32 {

// This process attached to another process's console, for as long as the
// object lives: the console helper keeps no console of its own, and every
// path out (return, exception) detaches. While attached, the console's
// control events reach this process too: a handler installed before the
// attach and removed after the detach keeps Ctrl+C and Ctrl+Break from
// ending it; the console's window being closed ends it whatever a handler
// says, which is why only the short-lived helper ever attaches.
class AttachedConsole {
public:
    explicit AttachedConsole(DWORD process);
    ~AttachedConsole();
    AttachedConsole(const AttachedConsole&) = delete;
    AttachedConsole& operator=(const AttachedConsole&) = delete;

    bool attached() const { return attached_; }
    // Why the attach failed (GetLastError of AttachConsole); 0 when attached.
    DWORD error() const { return error_; }

    // The console's title, as GetConsoleTitleW gives it.
    std::string title() const;
    // The console's window: the same for every process attached to one
    // console, so it tells consoles apart. Null for a console without one.
    HWND window() const { return GetConsoleWindow(); }

private:
    bool handlerInstalled_ = false;
    bool attached_ = false;
    DWORD error_ = 0;
};

// One of the attached console's buffers, closed with the object: its input
// (CONIN$) or its active screen buffer (CONOUT$).
class ConsoleDevice {
public:
    explicit ConsoleDevice(const wchar_t* name);
    ~ConsoleDevice();
    ConsoleDevice(const ConsoleDevice&) = delete;
    ConsoleDevice& operator=(const ConsoleDevice&) = delete;

    bool opened() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD error_ = 0;
};

} // namespace vt::win32
