// The program's side of a watch: a helper reads the console back; the server's
// programs are waited for here, on their process handles.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/failures.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_read_back.h"
#include "platform/win32/link/helper_process.h"
#include "platform/win32/store/module_name.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

// How long the helper may take to attach and note where the output stands:
// as long as a write's helper may take.
constexpr unsigned kBeginLimitMs = 10000;

std::uint64_t startedAt(HANDLE process)
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A handle on each server program still running. One that has gone, or
// whose id is another program's by now, has ended.
std::vector<HANDLE> openServer(const std::vector<ConsoleProgram>& programs)
{
    const ConsoleReaders readers = consoleReaders(programs, toUtf8(runningExePath()));
    std::vector<HANDLE> handles;
    for (const ConsoleProgram& program : programs) {
        if (std::find(readers.server.begin(), readers.server.end(), program.process) == readers.server.end())
            continue;
        const HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.process);
        if (!handle)
            continue;
        const std::uint64_t started = startedAt(handle);
        if (program.started != 0 && started != 0 && started != program.started) {
            CloseHandle(handle);
            continue;
        }
        handles.push_back(handle);
        // One wait takes at most this many, the watch's own event included.
        if (handles.size() == MAXIMUM_WAIT_OBJECTS - 1)
            break;
    }
    return handles;
}

class HelperWatch : public StepWatch {
public:
    HelperWatch(const WatchRequest& request, const StepExpectation& expected, SightingSink sink)
        : helper_(encodeRequest(request)), spotter_(expected), sink_(std::move(sink)),
          stopped_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        if (!stopped_)
            throw KeySenderFailed("could not watch the console: no event");
        const std::optional<std::vector<ConsoleProgram>> programs = begin();
        if (!programs)
            return;
        if (expected.kind != StepExpectation::Kind::Say) {
            server_ = openServer(*programs);
            ends_ = std::thread([this] { awaitServerEnd(); });
        }
        if (request.readRowsMs > 0)
            rows_ = std::thread([this] { spotRows(); });
        else
            helper_.end();
    }

    ~HelperWatch() override
    {
        SetEvent(stopped_);
        helper_.end();
        if (rows_.joinable())
            rows_.join();
        if (ends_.joinable())
            ends_.join();
        for (const HANDLE process : server_)
            CloseHandle(process);
        CloseHandle(stopped_);
    }

    HelperWatch(const HelperWatch&) = delete;
    HelperWatch& operator=(const HelperWatch&) = delete;

private:
    // Reads until the helper has said who is attached: only then may the
    // keys go in. Nothing, when it could not attach or said nonsense.
    std::optional<std::vector<ConsoleProgram>> begin()
    {
        const ULONGLONG deadline = GetTickCount64() + kBeginLimitMs;
        try {
            for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
                if (!helper_.readFor(pending_, static_cast<unsigned>(deadline - now)))
                    break;
                WatchReply reply = takeWatchFrames(pending_);
                if (reply.outcome)
                    break;
                if (reply.watching) {
                    see(spotter_.add(reply.rows));
                    return reply.watching;
                }
            }
        } catch (const std::invalid_argument&) {
        }
        helper_.end();
        return std::nullopt;
    }

    void spotRows()
    {
        try {
            while (helper_.read(pending_))
                see(spotter_.add(takeWatchFrames(pending_).rows));
        } catch (const std::invalid_argument&) {
            // A helper that says nonsense is heard no more.
        }
    }

    // Waits for each program of the server to end, with no time limit: the
    // program judges how long is too long, and ends the watch.
    void awaitServerEnd()
    {
        std::vector<HANDLE> waiting = server_;
        while (!waiting.empty()) {
            std::vector<HANDLE> handles{stopped_};
            handles.insert(handles.end(), waiting.begin(), waiting.end());
            const DWORD woke =
                WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
            if (woke == WAIT_OBJECT_0 || woke < WAIT_OBJECT_0 || woke >= WAIT_OBJECT_0 + handles.size())
                return; // the watch ended, or the wait failed
            waiting.erase(waiting.begin() + (woke - WAIT_OBJECT_0 - 1));
        }
        see({ConsoleSighting::ServerEnded});
    }

    void see(const std::vector<ConsoleSighting>& sightings)
    {
        const std::lock_guard<std::mutex> lock(sinkMutex_);
        for (const ConsoleSighting sighting : sightings) {
            if (WaitForSingleObject(stopped_, 0) != WAIT_OBJECT_0 && sink_)
                sink_(sighting);
        }
    }

    RunningHelper helper_;
    std::string pending_; // what the helper said that is not yet a whole frame
    AnswerSpotter spotter_;
    SightingSink sink_;
    std::mutex sinkMutex_;
    HANDLE stopped_;
    std::vector<HANDLE> server_;
    std::thread rows_;
    std::thread ends_;
};

} // namespace

std::unique_ptr<StepWatch> watchConsoleInHelper(const WatchRequest& request, const StepExpectation& expected,
                                                SightingSink sink)
{
    return std::make_unique<HelperWatch>(request, expected, std::move(sink));
}

} // namespace vt::win32
