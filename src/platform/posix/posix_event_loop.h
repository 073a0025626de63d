#pragma once

#include <chrono>
#include <cstdint>

#include "platform/ui/event_loop.h"
#include "platform/ui/timer_queue.h"

namespace vt::posix {

// The event loop of the program without a display: real time, timers only,
// and SIGINT, SIGTERM or SIGHUP as a request to close the main window
// (Form::closeRequested, named by the signal). Between ticks it
// sleeps in poll() until the next timer is due or a task is posted, never
// waking for nothing.
class PosixEventLoop : public EventLoop {
public:
    PosixEventLoop();
    ~PosixEventLoop() override;
    PosixEventLoop(const PosixEventLoop&) = delete;
    PosixEventLoop& operator=(const PosixEventLoop&) = delete;

    std::int64_t nowMs() const override;
    void timerChanged(Timer& timer) override;
    // No dialog can open without a display (nobody can click its button);
    // reported as a failure of the handler that tried.
    void runModal(Form& dialog) override;
    // Runs until the main form has unloaded. SIGINT, SIGTERM and SIGHUP ask it
    // to close; the end of the last running timer closes it as its close box
    // would (a form that still waits for something keeps a timer running).
    void run(Form& main) override;

protected:
    void wake() override;

private:
    void fireDue();
    // Sleeps until the next timer is due, a task is posted or a signal
    // arrives; true on a signal.
    bool sleepUntilNextTimer(int signalFd);
    void drainWakePipe();

    using Clock = std::chrono::steady_clock;
    Clock::time_point start_;
    TimerQueue timers_;
    // post() writes a byte here from any thread; poll() wakes for it.
    int wakeEnds_[2] = {-1, -1};
};

} // namespace vt::posix
