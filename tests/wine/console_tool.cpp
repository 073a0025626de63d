// Other programs running beside the server console, for the Wine scenarios:
//   console_tool spawn N SECONDS FILE N idle processes, half of them on this console;
//                                     FILE is created once all run
//   console_tool idle SECONDS         sleeps
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
                            &process))
            return 1;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (FILE* ready = _wfopen(readyFile.c_str(), L"wb"))
        std::fclose(ready);
    Sleep(static_cast<DWORD>(_wtoi(seconds.c_str())) * 1000);
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
    std::fputs("usage: console_tool spawn N SECONDS FILE | idle SECONDS\n", stderr);
    return 2;
}
