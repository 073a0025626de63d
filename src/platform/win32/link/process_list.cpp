#include "platform/win32/link/process_list.h"

#include <windows.h>

#include <tlhelp32.h>

#include "platform/failures.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

std::vector<RunningProcess> runningProcesses()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        throw KeySenderFailed("could not list the running programs to find the console: " +
                              systemMessage(GetLastError()));
    std::vector<RunningProcess> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, toUtf8(entry.szExeFile)});
    CloseHandle(snapshot);
    return processes;
}

} // namespace vt::win32
