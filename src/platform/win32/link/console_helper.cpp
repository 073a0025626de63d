#include "platform/win32/link/console_helper.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <functional>
#include <stdexcept>

#include "platform/failures.h"
#include "platform/win32/link/attached_console.h"
#include "platform/win32/link/process_list.h"
#include "platform/win32/system_error.h"

namespace vt::win32 {

namespace {

// Processes of other sessions (services) cannot own the operator's server
// console; counting their refusals would only blur the report.
bool inOurSession(DWORD process)
{
    DWORD ours = 0;
    DWORD theirs = 0;
    return ProcessIdToSessionId(GetCurrentProcessId(), &ours) && ProcessIdToSessionId(process, &theirs) &&
           ours == theirs;
}

ConsoleProbe probe(DWORD process, const std::string& image)
{
    ConsoleProbe result;
    result.process = process;
    result.image = image;
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
    for (const RunningProcess& process : runningProcesses()) {
        // Process 0 is the idle process; the helper has no console to find.
        if (process.id != 0 && process.id != self)
            probes.push_back(probe(process.id, process.image));
    }
    return probes;
}

void writeAll(HANDLE input, const std::vector<INPUT_RECORD>& records, const std::string& title)
{
    std::size_t done = 0;
    while (done < records.size()) {
        DWORD written = 0;
        const DWORD count = static_cast<DWORD>(records.size() - done);
        if (!WriteConsoleInputW(input, records.data() + done, count, &written) || written == 0)
            throw KeySenderFailed("could not type into the console '" + title + "': " + systemMessage(GetLastError()) +
                                  (done ? "; the line may be incomplete" : "; nothing was typed"));
        done += written;
    }
}

// Waits, a bounded time, until the program in the console has taken the
// keys out of its input buffer. A program busy elsewhere still gets them in
// order later, so running out of time is no failure.
void waitUntilRead(HANDLE input)
{
    constexpr int kLimitMs = 1000;
    constexpr int kStepMs = 5;
    for (int waited = 0; waited < kLimitMs; waited += kStepMs) {
        DWORD pending = 0;
        if (!GetNumberOfConsoleInputEvents(input, &pending) || pending == 0)
            return;
        Sleep(kStepMs);
    }
}

std::vector<INPUT_RECORD> recordsOf(const std::string& bytes)
{
    if (bytes.size() % sizeof(INPUT_RECORD) != 0)
        throw std::invalid_argument("the keys do not divide into whole input records");
    std::vector<INPUT_RECORD> records(bytes.size() / sizeof(INPUT_RECORD));
    if (!bytes.empty())
        std::memcpy(records.data(), bytes.data(), bytes.size());
    return records;
}

// Attached to the console, writes the step into its input.
WriteOutcome writeStep(const WriteRequest& request, const HelperSay& say)
{
    const std::vector<INPUT_RECORD> records = recordsOf(request.records);
    const ConsoleDevice input(L"CONIN$");
    if (!input.opened())
        return {WriteOutcome::Status::Failed, "could not open the input of the console '" + request.title +
                                                  "': " + systemMessage(input.error()) + "; nothing was typed"};
    say(stageFrame(WriteStage::Writing));
    writeAll(input.handle(), records, request.title);
    say(stageFrame(WriteStage::Written));
    if (request.waitUntilRead)
        waitUntilRead(input.handle());
    return {WriteOutcome::Status::Typed, {}};
}

// The first process still on the console leads to it: act runs attached.
// A process may have ended since the lookup, and its id may even be another
// program's now, so each one's console must be the one asked for.
template <typename Act>
WriteOutcome onConsole(const std::vector<std::uint32_t>& processes, std::uint64_t wanted, const Act& act)
{
    std::string firstReason;
    for (const std::uint32_t process : processes) {
        const AttachedConsole console(process);
        if (console.attached() && reinterpret_cast<std::uintptr_t>(console.window()) == wanted)
            return act();
        if (firstReason.empty())
            firstReason =
                console.attached() ? "its program is attached to another console" : systemMessage(console.error());
    }
    return {WriteOutcome::Status::NotReached, firstReason};
}

WriteOutcome answer(const HelperRequest& request, const HelperSay& say)
{
    if (const auto* write = std::get_if<WriteRequest>(&request))
        return onConsole(write->processes, write->console, [&] { return writeStep(*write, say); });
    const auto& watch = std::get<WatchRequest>(request);
    return onConsole(watch.processes, watch.console, [&] { return watchAttachedConsole(watch, say); });
}

std::string readAll(HANDLE input)
{
    constexpr std::size_t kLimit = 64u << 20; // far above any step
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (bytes.size() < kLimit && ReadFile(input, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

// False when the program no longer reads (it ended, or ended the watch).
bool writeBytes(HANDLE output, const std::string& bytes)
{
    std::size_t done = 0;
    DWORD written = 0;
    while (done < bytes.size() &&
           WriteFile(output, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) &&
           written > 0)
        done += written;
    return done == bytes.size();
}

} // namespace

int runConsoleHelper()
{
    // Taken before any attach: attaching must not change where we answer.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HelperSay say = [output](const std::string& frame) { return writeBytes(output, frame); };
    try {
        const HelperRequest request = decodeRequest(readAll(input));
        if (std::holds_alternative<ProbeRequest>(request)) {
            say(probesFrame(probeAll()));
            return 0;
        }
        const WriteOutcome outcome = answer(request, say);
        // A watch that ran says nothing more: its frames were its answer.
        if (!std::holds_alternative<WatchRequest>(request) || outcome.status != WriteOutcome::Status::Typed)
            say(outcomeFrame(outcome));
        return 0;
    } catch (const std::invalid_argument&) {
        return 2;
    } catch (const Failure& failure) {
        say(outcomeFrame({WriteOutcome::Status::Failed, failure.what()}));
        return 0;
    } catch (const std::exception& error) {
        say(outcomeFrame({WriteOutcome::Status::Failed, describeUnexpected(error)}));
        return 1;
    }
}

} // namespace vt::win32
