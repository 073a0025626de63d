#include "platform/win32/console_title_link.h"

#include <tlhelp32.h>

#include <memory>

#include "platform/failures.h"
#include "platform/win32/attached_console.h"
#include "platform/win32/console_choice.h"
#include "platform/win32/console_input_sender.h"
#include "platform/win32/system_error.h"

namespace vt::win32 {

namespace {

std::vector<DWORD> allProcesses()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        throw KeySenderFailed("could not list the running programs to find the console: " +
                              systemMessage(GetLastError()));
    std::vector<DWORD> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        processes.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return processes;
}

// Processes of other sessions (services) cannot own the operator's server
// console; counting their refusals would only blur the report.
bool inOurSession(DWORD process)
{
    DWORD ours = 0;
    DWORD theirs = 0;
    return ProcessIdToSessionId(GetCurrentProcessId(), &ours) && ProcessIdToSessionId(process, &theirs) &&
           ours == theirs;
}

ConsoleProbe probe(DWORD process)
{
    ConsoleProbe result;
    result.process = process;
    const AttachedConsole console(process);
    if (console.attached()) {
        result.outcome = ConsoleProbe::Outcome::Attached;
        result.title = console.title();
        result.console = reinterpret_cast<std::uintptr_t>(console.window());
    } else if (console.error() == ERROR_ACCESS_DENIED && inOurSession(process)) {
        result.outcome = ConsoleProbe::Outcome::Denied;
    }
    return result;
}

std::vector<ConsoleProbe> probeAll()
{
    std::vector<ConsoleProbe> probes;
    const DWORD self = GetCurrentProcessId();
    for (const DWORD process : allProcesses()) {
        // Process 0 is the idle process; our own has no console to find.
        if (process != 0 && process != self)
            probes.push_back(probe(process));
    }
    return probes;
}

} // namespace

std::unique_ptr<KeySender> Win32ConsoleTitleLink::activate(const std::string& title)
{
    const ConsoleChoice choice = chooseConsoleByTitle(probeAll(), title);
    return std::make_unique<ConsoleProcessSender>(choice.processes, choice.console, title);
}

void ConsoleProcessSender::typeStep(const std::vector<KeyChunk>& step)
{
    const std::vector<INPUT_RECORD> records = consoleRecords(keysOfStep(step));
    // Any process of the console will do, as long as it still is on that
    // console: one may have ended since the lookup, and its process id may
    // even be another program's now.
    for (const std::uint32_t process : processes_) {
        const AttachedConsole console(process);
        if (console.attached() && reinterpret_cast<std::uintptr_t>(console.window()) == console_) {
            writeStepToAttachedConsole(records, stepWaits(step), title_);
            return;
        }
    }
    throw ConsoleNotFound("the console '" + title_ + "' has closed; nothing was typed");
}

} // namespace vt::win32
