#include "platform/posix/posix_event_loop.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/failures.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt::posix {

namespace {

// The write end of the pipe the signal handler wakes the loop through.
volatile sig_atomic_t signalWriteFd = -1;

// The signals that close the main window, as its close box would. SIGHUP
// (the terminal closed) is one of them: left at its default it would end the
// program there, without storing the settings.
constexpr int kClosingSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::string signalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "signal " + std::to_string(signal);
    }
}

// The signal's number is the byte written, so the loop can say which came.
void onSignal(int signal)
{
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    if (signalWriteFd >= 0)
        (void)!::write(signalWriteFd, &byte, 1);
    errno = saved;
}

// The closing signals write to a pipe while this lives (the self-pipe trick:
// poll() wakes for them, and no handler code runs inside the signal).
class SignalPipe {
public:
    SignalPipe()
    {
        if (::pipe2(ends_, O_CLOEXEC | O_NONBLOCK) != 0)
            throw Failure("cannot make a pipe for SIGINT, SIGTERM and SIGHUP");
        signalWriteFd = ends_[1];
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < std::size(kClosingSignals); ++i)
            ::sigaction(kClosingSignals[i], &action, &old_[i]);
    }
    ~SignalPipe()
    {
        for (std::size_t i = 0; i < std::size(kClosingSignals); ++i)
            ::sigaction(kClosingSignals[i], &old_[i], nullptr);
        signalWriteFd = -1;
        ::close(ends_[0]);
        ::close(ends_[1]);
    }
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    int readFd() const { return ends_[0]; }
    // Empties the pipe; the first signal that came, 0 if none.
    int drain() const
    {
        int first = 0;
        char bytes[64];
        ssize_t got = 0;
        while ((got = ::read(ends_[0], bytes, sizeof bytes)) > 0) {
            if (first == 0)
                first = static_cast<unsigned char>(bytes[0]);
        }
        return first;
    }

private:
    int ends_[2] = {-1, -1};
    struct sigaction old_[std::size(kClosingSignals)]{};
};

} // namespace

PosixEventLoop::PosixEventLoop() : start_(Clock::now())
{
    if (::pipe2(wakeEnds_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Failure("cannot make a pipe to wake the event loop");
}

PosixEventLoop::~PosixEventLoop()
{
    ::close(wakeEnds_[0]);
    ::close(wakeEnds_[1]);
}

// A full pipe already holds a wake-up: the byte that did not fit is not missed.
void PosixEventLoop::wake()
{
    const char byte = 1;
    (void)!::write(wakeEnds_[1], &byte, 1);
}

void PosixEventLoop::drainWakePipe()
{
    char bytes[64];
    while (::read(wakeEnds_[0], bytes, sizeof bytes) > 0) {
    }
}

std::int64_t PosixEventLoop::nowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
}

void PosixEventLoop::timerChanged(Timer& timer)
{
    timers_.changed(timer, firstDueMs(timer));
}

void PosixEventLoop::runModal(Form& dialog)
{
    dialog.unload();
    throw Failure("the " + dialog.name() + " dialog cannot be shown without a display");
}

void PosixEventLoop::run(Form& main)
{
    SignalPipe signals;
    const std::string step = main.name() + ".close";
    while (!main.isUnloaded()) {
        runPosted();
        if (main.isUnloaded())
            break;
        // Without windows only a timer can make anything happen: when none
        // runs any more (a run ended without AutoClose, and nothing it did
        // is still awaited), the program is done, and closes as by its close
        // box rather than waiting forever.
        if (!timers_.nextDueMs()) {
            dispatch(step, [&main] { main.close(); });
            break;
        }
        if (sleepUntilNextTimer(signals.readFd())) {
            const std::string cause = signalName(signals.drain());
            dispatch(step, [&main, &cause] { main.closeRequested(cause); });
            continue;
        }
        fireDue();
    }
}

void PosixEventLoop::fireDue()
{
    for (;;) {
        // The timer taken is the one due first.
        const std::optional<std::int64_t> dueMs = timers_.nextDueMs();
        Timer* timer = timers_.takeDue(nowMs());
        if (!timer)
            return;
        if (!timer->onTimer)
            continue;
        // The handler may stop this timer or unload its form.
        const std::function<void()> handler = timer->onTimer;
        dispatchTick(*timer, *dueMs, handler);
        return;
    }
}

bool PosixEventLoop::sleepUntilNextTimer(int signalFd)
{
    const std::optional<std::int64_t> due = timers_.nextDueMs();
    int timeoutMs = -1;
    if (due) {
        // Rounded up: waking a little early would only mean a second wake-up.
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(start_ + std::chrono::milliseconds(*due) - Clock::now())
                .count();
        timeoutMs = wait <= 0 ? 0 : static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000));
    }
    pollfd watched[] = {{signalFd, POLLIN, 0}, {wakeEnds_[0], POLLIN, 0}};
    const int ready = ::poll(watched, 2, timeoutMs);
    if (ready > 0 && (watched[1].revents & POLLIN))
        drainWakePipe();
    return ready > 0 && (watched[0].revents & POLLIN);
}

} // namespace vt::posix
