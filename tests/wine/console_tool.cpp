// Other programs running beside the server console, for the Wine scenarios:
//   console_tool spawn N SECONDS FILE N idle processes, half of them on this console;
//                                     FILE is created once all run
//   console_tool idle SECONDS         sleeps
//   console_tool close-on-keys FILE   a server that never reads: once keys
//                                     wait in its console's input, it sends
//                                     Ctrl+C to the console and closes it;
//                                     FILE.ready once waiting, FILE says what
//                                     it did
// Exit code 0 when it did what was asked.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int spawn(int count, const std::wstring& seconds, const std::wstring& readyFile)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (int i = 0; i < count; ++i) {
        std::wstring command = L"\"" + std::wstring(self) + L"\" idle " + seconds;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        const DWORD flags = i % 2 ? DETACHED_PROCESS : 0;
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "process %d of %d did not start: error %lu\n", i + 1, count, GetLastError());
            return 1;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (FILE* ready = _wfopen(readyFile.c_str(), L"wb"))
        std::fclose(ready);
    Sleep(static_cast<DWORD>(_wtoi(seconds.c_str())) * 1000);
    return 0;
}

void note(const std::wstring& path, const char* text)
{
    if (FILE* file = _wfopen(path.c_str(), L"ab")) {
        std::fputs(text, file);
        std::fclose(file);
    }
}

// Everything attached to this console gets the Ctrl+C and then the close,
// as when the operator presses Ctrl+C and then closes the server's window.
int closeOnKeys(const std::wstring& file)
{
    SetConsoleCtrlHandler(nullptr, TRUE); // the Ctrl+C is for the others
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    note(file + L".ready", "");
    DWORD pending = 0;
    while (GetNumberOfConsoleInputEvents(input, &pending) && pending == 0)
        Sleep(1);
    note(file, "keys waiting\n");
    note(file, GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) ? "ctrl+c sent\n" : "ctrl+c refused\n");
    const HWND window = GetConsoleWindow();
    note(file, window && PostMessageW(window, WM_CLOSE, 0, 0) ? "close posted\n" : "no window to close\n");
    Sleep(30000);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"spawn" && argc == 5)
        return spawn(_wtoi(argv[2]), argv[3], argv[4]);
    if (mode == L"idle" && argc == 3) {
        Sleep(static_cast<DWORD>(_wtoi(argv[2])) * 1000);
        return 0;
    }
    if (mode == L"close-on-keys" && argc == 3)
        return closeOnKeys(argv[2]);
    std::fputs("usage: console_tool spawn N SECONDS FILE | idle SECONDS | close-on-keys FILE\n", stderr);
    return 2;
}
