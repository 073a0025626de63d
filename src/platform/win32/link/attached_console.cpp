#include "platform/win32/link/attached_console.h"

#include <vector>

#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

// Ctrl+C or Ctrl+Break typed in the server console, or sent to it, goes to
// every process attached to it; the default handler would end this program.
// TRUE ends the search for a handler there.
BOOL WINAPI keepRunning(DWORD)
{
    return TRUE;
}

} // namespace

AttachedConsole::AttachedConsole(DWORD process)
{
    // A console left from an earlier attach would make AttachConsole fail.
    FreeConsole();
    handlerInstalled_ = SetConsoleCtrlHandler(keepRunning, TRUE) != FALSE;
    if (!handlerInstalled_) {
        // Attaching without it could let the server's Ctrl+C end us.
        error_ = GetLastError();
        return;
    }
    attached_ = AttachConsole(process) != FALSE;
    if (!attached_)
        error_ = GetLastError();
}

AttachedConsole::~AttachedConsole()
{
    if (attached_)
        FreeConsole();
    // Only after the detach: an event on its way until then still finds it.
    if (handlerInstalled_)
        SetConsoleCtrlHandler(keepRunning, FALSE);
}

std::string AttachedConsole::title() const
{
    // A title may be up to 64 KiB; one buffer serves every probe.
    static std::vector<wchar_t> buffer(32768);
    const DWORD length = GetConsoleTitleW(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
        return {};
    return toUtf8(std::wstring(buffer.data(), length < buffer.size() ? length : buffer.size() - 1));
}

ConsoleDevice::ConsoleDevice(const wchar_t* name)
{
    handle_ = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        error_ = GetLastError();
}

ConsoleDevice::~ConsoleDevice()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

} // namespace vt::win32
