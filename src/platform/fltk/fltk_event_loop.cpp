#include "platform/fltk/fltk_event_loop.h"

#include <FL/Fl.H>

#include "platform/controls.h"
#include "platform/form.h"

namespace vt {

namespace {

// Longer than any run: Fl::wait() returns at once when no window is shown,
// this blocks until an event or a timeout instead.
constexpr double kWaitForever = 1e20;

void waitUntilUnloaded(const Form& form)
{
    while (!form.isUnloaded())
        Fl::wait(kWaitForever);
}

} // namespace

FltkEventLoop::FltkEventLoop() : start_(std::chrono::steady_clock::now())
{
}

FltkEventLoop::~FltkEventLoop()
{
    for (auto& [timer, schedule] : schedules_)
        Fl::remove_timeout(&FltkEventLoop::fire, schedule.get());
    for (Deferred& deferred : deferred_)
        Fl::remove_timeout(&FltkEventLoop::runDeferred, &deferred);
    Fl::do_widget_deletion();
}

std::int64_t FltkEventLoop::nowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

void FltkEventLoop::timerChanged(Timer& timer)
{
    // Every change counts afresh from now, or stops the timer.
    forget(timer);
    if (!timer.running())
        return;
    auto schedule = std::make_unique<Schedule>(Schedule{this, &timer, timer.interval() / 1000.0});
    Fl::add_timeout(schedule->seconds, &FltkEventLoop::fire, schedule.get());
    schedules_.emplace(&timer, std::move(schedule));
}

void FltkEventLoop::forget(Timer& timer)
{
    auto found = schedules_.find(&timer);
    if (found == schedules_.end())
        return;
    Fl::remove_timeout(&FltkEventLoop::fire, found->second.get());
    schedules_.erase(found);
}

void FltkEventLoop::fire(void* data)
{
    auto* schedule = static_cast<Schedule*>(data);
    schedule->loop->tick(*schedule);
}

void FltkEventLoop::tick(Schedule& schedule)
{
    Timer& timer = *schedule.timer;
    // Re-armed before the handler runs: repeat_timeout counts from when this
    // tick was due, and a handler that stops or changes the timer removes it.
    Fl::repeat_timeout(schedule.seconds, &FltkEventLoop::fire, &schedule);
    if (!timer.running() || !timer.onTimer)
        return;
    // The handler may unload the form and with it this schedule.
    const std::function<void()> handler = timer.onTimer;
    dispatch(timer.form().name() + "." + timer.name() + "_Timer", handler);
}

void FltkEventLoop::later(int delayMs, std::function<void()> work)
{
    Deferred& deferred = deferred_.emplace_back(Deferred{this, std::move(work)});
    Fl::add_timeout(delayMs / 1000.0, &FltkEventLoop::runDeferred, &deferred);
}

void FltkEventLoop::runDeferred(void* data)
{
    auto* deferred = static_cast<Deferred*>(data);
    FltkEventLoop& loop = *deferred->loop;
    const std::function<void()> work = std::move(deferred->work);
    loop.deferred_.remove_if([deferred](const Deferred& entry) { return &entry == deferred; });
    loop.dispatch("deferred platform work", work);
}

void FltkEventLoop::runModal(Form& dialog)
{
    waitUntilUnloaded(dialog);
}

void FltkEventLoop::run(Form& main)
{
    waitUntilUnloaded(main);
    // Windows closed from their own callbacks are deleted here, not in them.
    Fl::do_widget_deletion();
}

} // namespace vt
