// The peer of the read-back benchmark: what a script that polls a console
// does. It attaches to the console of the first process with the given
// executable name, then every INTERVAL_MS reads the whole screen buffer up
// to the cursor and looks for a row holding "[Server] TEXT".
//   poll_peer IMAGE TEXT READY_FILE [INTERVAL_MS] [SECONDS]
// READY_FILE is created once it reads; prints "seen at T ms"
// (QueryPerformanceCounter time) and exits 0 when the row is there, 1 when
// SECONDS passed without it.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <string>

namespace {

double nowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

DWORD processNamed(const std::wstring& image)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, image.c_str()) == 0)
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

bool shows(HANDLE output, const std::wstring& wanted)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(output, &info))
        return false;
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwCursorPosition.Y);
    std::wstring text(cells, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(output, text.data(), cells, {0, 0}, &read);
    return text.find(wanted) != std::wstring::npos;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fputs("usage: poll_peer IMAGE TEXT READY_FILE [INTERVAL_MS] [SECONDS]\n", stderr);
        return 2;
    }
    const DWORD interval = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 100;
    const double seconds = argc > 5 ? _wtoi(argv[5]) : 10;
    const DWORD server = processNamed(argv[1]);
    FreeConsole();
    SetConsoleCtrlHandler(nullptr, TRUE);
    if (!server || !AttachConsole(server)) {
        std::fputs("poll_peer: could not attach to the server's console\n", stderr);
        return 2;
    }
    const HANDLE output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (FILE* ready = _wfopen(argv[3], L"wb"))
        std::fclose(ready);
    const std::wstring wanted = L"[Server] " + std::wstring(argv[2]);
    const double until = nowMs() + seconds * 1000;
    while (nowMs() < until) {
        Sleep(interval);
        if (shows(output, wanted)) {
            std::printf("seen at %.3f ms\n", nowMs());
            return 0;
        }
    }
    return 1;
}
