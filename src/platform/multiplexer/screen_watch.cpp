#include "platform/multiplexer/screen_watch.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <poll.h>

#include "platform/multiplexer/console_lines.h"
#include "platform/multiplexer/screen_copier.h"
#include "platform/multiplexer/screen_window.h"
#include "platform/multiplexer/server_watch.h"
#include "platform/multiplexer/watch_support.h"

namespace vt::multiplexer {

namespace {

using Clock = std::chrono::steady_clock;

// A stop's end is seen from its process; only a say line's answer and a
// restart's report are read from the window.
bool readsWindow(const StepExpectation& expected)
{
    return expected.kind != StepExpectation::Kind::Stop;
}

// A UTF-8 window's copy holds the low bytes of its characters; a window
// without UTF-8 holds the bytes the server wrote.
std::optional<ConsoleSighting> sightingInCopy(const std::string& line, const StepExpectation& expected)
{
    if (const auto asWritten = sightingInLine(line, expected))
        return asWritten;
    return sightingInLine(hardcopyText(line), {expected.kind, asHardcopyText(expected.answer)});
}

class ScreenStepWatch : public StepWatch {
public:
    ScreenStepWatch(const std::string& program, const ScreenWindow& window, const StepExpectation& expected,
                    SightingSink sink)
        : expected_(expected), sink_(std::move(sink)), copier_(program, window), server_(window.process, wakeup_)
    {
        if (readsWindow(expected_))
            before_ = copier_.lines(-1);
        thread_ = std::thread([this] { run(); });
    }

    ~ScreenStepWatch() override
    {
        sink_.close();
        wakeup_.notify(Wakeup::Stop);
        thread_.join();
    }

private:
    void run()
    {
        const Clock::time_point readUntil = Clock::now() + std::chrono::milliseconds(kScreenReadMs);
        bool reading = before_.has_value();
        for (;;) {
            pollfd watched{wakeup_.fd(), POLLIN, 0};
            const int timeout = reading ? kScreenCopyIntervalMs : pollTimeout(server_.nextLook());
            if (::poll(&watched, 1, timeout) < 0 && errno != EINTR)
                break;
            const unsigned reasons = watched.revents != 0 ? wakeup_.take() : 0;
            if (reasons & Wakeup::Stop)
                break;
            if (reasons & Wakeup::ServerEnded)
                reading = serverEnded(reading);
            if (reading)
                reading = readNewLines() && Clock::now() < readUntil;
            if (const auto seen = server_.lookIfDue())
                sink_.report(*seen);
        }
    }

    // A restart's report comes just before the end: one last copy, while the
    // window is still there, reads it. Returns false: nothing more is read.
    bool serverEnded(bool reading)
    {
        if (reading)
            readNewLines();
        sink_.report(ConsoleSighting::ServerEnded);
        if (expected_.kind == StepExpectation::Kind::Restart)
            server_.lookForNewServer();
        return false;
    }

    // False once the awaited line has been seen.
    bool readNewLines()
    {
        const auto now = copier_.lines(wakeup_.fd());
        if (!now)
            return true;
        for (const std::string& line : newScreenLines(*before_, *now)) {
            if (const auto sighting = sightingInCopy(line, expected_)) {
                sink_.report(*sighting);
                return false;
            }
        }
        before_ = now;
        return true;
    }

    const StepExpectation expected_;
    OnceSink sink_;
    Wakeup wakeup_;
    ScreenCopier copier_;
    std::optional<std::vector<std::string>> before_;
    ServerWatch server_;
    std::thread thread_;
};

} // namespace

std::unique_ptr<StepWatch> watchScreenWindow(const std::string& program, const ScreenWindow& window,
                                             const StepExpectation& expected, SightingSink sink)
{
    return std::make_unique<ScreenStepWatch>(program, window, expected, std::move(sink));
}

} // namespace vt::multiplexer
