#pragma once

#include <chrono>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/event_loop.h"

namespace vt::fltk {

// The event loop of the Linux desktop: FLTK's own. Each running timer is one
// FLTK timeout, re-armed from the moment it was due, so ticks do not drift,
// and a timer started by a tick's handler counts from when that tick was due
// (EventLoop::firstDueMs), so a run does not drift by its typing time either;
// nothing wakes the process while no timer is due and no input arrives.
class FltkEventLoop : public EventLoop {
    using Clock = std::chrono::steady_clock;

public:
    FltkEventLoop();
    ~FltkEventLoop() override;
    FltkEventLoop(const FltkEventLoop&) = delete;
    FltkEventLoop& operator=(const FltkEventLoop&) = delete;

    std::int64_t nowMs() const override;
    void timerChanged(Timer& timer) override;
    void runModal(Form& dialog) override;
    void run(Form& main) override;

    // Runs work once, after a delay, from this loop; for platform code that
    // must come back later without blocking (undoing temporary key bindings).
    void later(int delayMs, std::function<void()> work);

protected:
    // Fl::awake, which any thread may call: the posted tasks run in the
    // loop's next Fl::wait.
    void wake() override;

private:
    static void onAwake(void* data);
    struct Deferred {
        FltkEventLoop* loop;
        std::function<void()> work;
        Clock::time_point dueAt;
    };
    static void runDeferred(void* data);

    struct Schedule {
        FltkEventLoop* loop;
        Timer* timer;
        double seconds;
        Clock::time_point dueAt;
    };
    static void fire(void* data);
    static void keepAwake(void* data);
    void tick(Schedule& schedule);
    void forget(Timer& timer);
    void waitUntilUnloaded(const Form& form);
    void addTimeout(double seconds, void (*callback)(void*), void* data);
    bool waitedOnIfEarly(Clock::time_point dueAt, void (*callback)(void*), void* data);
    void noteLateness(Clock::time_point dueAt);
    void wakeIfDone();

    Clock::time_point start_;
    // How late the timeout that runs now (or ran last) fired; see addTimeout.
    double latenessSeconds_ = 0;
    std::map<Timer*, std::unique_ptr<Schedule>> schedules_;
    std::list<Deferred> deferred_;
    // The forms that run() and runModal() wait for, innermost last.
    std::vector<const Form*> awaited_;
};

} // namespace vt::fltk
