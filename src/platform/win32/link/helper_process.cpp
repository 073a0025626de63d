#include "platform/win32/link/helper_process.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "platform/failures.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/store/module_name.h"
#include "platform/win32/system_error.h"

namespace vt::win32 {

namespace {

// A pipe whose one end the helper inherits; ours stays ours, or the helper
// would hold its own pipe open and we would never see it end.
struct Pipe {
    HANDLE read = nullptr;
    HANDLE write = nullptr;

    Pipe(bool helperReads, DWORD size)
    {
        SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
        if (!CreatePipe(&read, &write, &inheritable, size))
            throw KeySenderFailed("could not start the console helper: " + systemMessage(GetLastError()) +
                                  "; nothing was typed");
        SetHandleInformation(helperReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    }
    ~Pipe()
    {
        close(read);
        close(write);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    static void close(HANDLE& handle)
    {
        if (handle)
            CloseHandle(handle);
        handle = nullptr;
    }
};

PROCESS_INFORMATION startHelper(HANDLE input, HANDLE output)
{
    std::wstring command = L"\"" + runningExePath() + L"\" " + kConsoleHelperArgument;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    PROCESS_INFORMATION process{};
    // No console of its own: it attaches to the server's.
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr, &startup,
                        &process))
        throw KeySenderFailed("could not start the console helper: " + systemMessage(GetLastError()) +
                              "; nothing was typed");
    CloseHandle(process.hThread);
    return process;
}

// The request fits the pipe's buffer, so this returns at once; a helper
// that ended early makes it fail, and what it said tells the rest.
void sendRequest(HANDLE pipe, const std::string& request)
{
    std::size_t done = 0;
    while (done < request.size()) {
        DWORD written = 0;
        if (!WriteFile(pipe, request.data() + done, static_cast<DWORD>(request.size() - done), &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

// Reads while the helper runs, without ever blocking on the pipe: a helper
// that hangs is ended at the limit.
void collectOutput(HANDLE pipe, HANDLE process, unsigned limitMs, HelperRun& run)
{
    const ULONGLONG deadline = GetTickCount64() + limitMs;
    for (;;) {
        // Whether it had ended before looking: then what the look finds is all.
        const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        if (!ended && GetTickCount64() >= deadline) {
            TerminateProcess(process, 1);
            run.timedOut = true;
            return;
        }
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return; // its end is closed and everything is read
        if (available > 0) {
            std::string chunk(available, '\0');
            DWORD read = 0;
            if (!ReadFile(pipe, chunk.data(), available, &read, nullptr))
                return;
            run.output.append(chunk.data(), read);
            continue;
        }
        if (ended)
            return;
        WaitForSingleObject(process, 2);
    }
}

// Starts the helper with its request; the helper's output pipe's reading end
// is handed back through output.
HANDLE startWithRequest(const std::string& request, HANDLE& output)
{
    Pipe input(true, static_cast<DWORD>(request.size() + 4096));
    Pipe answers(false, 0);
    const PROCESS_INFORMATION process = startHelper(input.read, answers.write);
    Pipe::close(input.read);
    Pipe::close(answers.write);
    sendRequest(input.write, request);
    output = std::exchange(answers.read, nullptr);
    return process.hProcess;
}

} // namespace

HelperRun runConsoleHelperProcess(const std::string& request, unsigned limitMs)
{
    HANDLE output = nullptr;
    const HANDLE process = startWithRequest(request, output);
    HelperRun run;
    collectOutput(output, process, limitMs, run);
    CloseHandle(output);
    WaitForSingleObject(process, 1000);
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process, &exitCode))
        run.exitCode = exitCode;
    CloseHandle(process);
    return run;
}

RunningHelper::RunningHelper(const std::string& request)
{
    process_ = startWithRequest(request, output_);
}

RunningHelper::~RunningHelper()
{
    end();
    CloseHandle(output_);
    CloseHandle(process_);
}

bool RunningHelper::readFor(std::string& into, unsigned limitMs)
{
    const ULONGLONG deadline = GetTickCount64() + limitMs;
    for (;;) {
        const bool ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
        DWORD available = 0;
        if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr))
            return false;
        if (available > 0)
            return read(into);
        if (ended)
            return false;
        if (GetTickCount64() >= deadline)
            return true;
        WaitForSingleObject(process_, 2);
    }
}

bool RunningHelper::read(std::string& into)
{
    char buffer[65536];
    DWORD count = 0;
    if (!ReadFile(output_, buffer, sizeof(buffer), &count, nullptr) || count == 0)
        return false;
    into.append(buffer, count);
    return true;
}

void RunningHelper::end()
{
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_, 1);
}

std::string howHelperEnded(const HelperRun& run)
{
    if (run.timedOut)
        return "it did not answer in time";
    // Small statuses are a program's own; large ones are system codes (0xC000013A).
    char status[32];
    std::snprintf(status, sizeof(status), run.exitCode < 0x10000 ? "%lu" : "0x%08lX",
                  static_cast<unsigned long>(run.exitCode));
    return std::string("it ended with status ") + status;
}

} // namespace vt::win32
