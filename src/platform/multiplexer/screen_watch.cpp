#include "platform/multiplexer/screen_watch.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <poll.h>

#include "platform/multiplexer/console_lines.h"
#include "platform/multiplexer/screen_copier.h"
#include "platform/multiplexer/screen_window.h"
#include "platform/multiplexer/server_watch.h"
#include "platform/multiplexer/terminal_writes.h"
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

// When the window is next copied while an answer is awaited. Each copy
// starts a screen client, so the window is copied when the server writes to
// it: at once when a write is heard, then once more kScreenCopyIntervalMs
// later and again while the copies still change (screen may not have drawn
// all of it yet), never more often than that. A quiet window is copied
// every kScreenQuietCopyMs only, in case a write goes unheard; a window
// whose writes cannot be heard, every kScreenCopyIntervalMs.
class CopyPace {
public:
    explicit CopyPace(bool hearing) : hearing_(hearing), next_(Clock::now() + pause(false)) {}

    Clock::time_point next() const { return next_; }
    void written()
    {
        heard_ = true;
        next_ = std::min(next_, last_ + std::chrono::milliseconds(kScreenCopyIntervalMs));
    }
    void copied(bool changed)
    {
        last_ = Clock::now();
        next_ = last_ + pause(changed || heard_);
        heard_ = false;
    }

private:
    std::chrono::milliseconds pause(bool busy) const
    {
        return std::chrono::milliseconds(busy || !hearing_ ? kScreenCopyIntervalMs : kScreenQuietCopyMs);
    }

    const bool hearing_;
    bool heard_ = false;       // a write since the last copy
    Clock::time_point last_{}; // none yet: the first write is copied at once
    Clock::time_point next_;
};

class ScreenStepWatch : public StepWatch {
public:
    ScreenStepWatch(const std::string& program, const ScreenWindow& window, const StepExpectation& expected,
                    SightingSink sink)
        : expected_(expected), sink_(std::move(sink)), copier_(program, window), writes_(window.process),
          pace_(writes_.hearing()), server_(window.process, wakeup_)
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
            pollfd watched[2] = {{wakeup_.fd(), POLLIN, 0}, {reading ? writes_.fd() : -1, POLLIN, 0}};
            const int timeout = reading ? pollTimeout(pace_.next()) : pollTimeout(server_.nextLook());
            if (::poll(watched, 2, timeout) < 0 && errno != EINTR)
                break;
            const unsigned reasons = watched[0].revents != 0 ? wakeup_.take() : 0;
            if (reasons & Wakeup::Stop)
                break;
            if (watched[1].revents != 0 && writes_.take())
                pace_.written();
            if (reasons & Wakeup::ServerEnded)
                reading = serverEnded(reading);
            if (reading && Clock::now() >= pace_.next())
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
        if (!now) {
            pace_.copied(true);
            return true;
        }
        const std::vector<std::string> added = newScreenLines(*before_, *now);
        pace_.copied(!added.empty());
        for (const std::string& line : added) {
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
    TerminalWrites writes_;
    CopyPace pace_;
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
