#include "platform/fltk/fltk_event_loop.h"

#include <algorithm>

#include <FL/Fl.H>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt::fltk {

namespace {

// Longer than any run: Fl::wait() returns at once when no window is shown,
// this blocks until an event or a timeout instead.
constexpr double kWaitForever = 1e20;

// The loop that Fl::awake's callbacks reach; only the main thread sets it or
// reads it. A wake-up still queued when its loop has gone finds no loop.
FltkEventLoop* awakeLoop = nullptr;

} // namespace

FltkEventLoop::FltkEventLoop() : start_(Clock::now())
{
    // Fl::awake wakes Fl::wait only once the main thread has taken FLTK's
    // lock. It is kept: no other thread ever calls into FLTK but Fl::awake,
    // which needs no lock.
    Fl::lock();
    awakeLoop = this;
}

FltkEventLoop::~FltkEventLoop()
{
    for (auto& [timer, schedule] : schedules_)
        Fl::remove_timeout(&FltkEventLoop::fire, schedule.get());
    for (Deferred& deferred : deferred_)
        Fl::remove_timeout(&FltkEventLoop::runDeferred, &deferred);
    Fl::remove_idle(&FltkEventLoop::keepAwake, this);
    Fl::do_widget_deletion();
    if (awakeLoop == this)
        awakeLoop = nullptr;
}

std::int64_t FltkEventLoop::nowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
}

void FltkEventLoop::timerChanged(Timer& timer)
{
    // Every change counts afresh, or stops the timer.
    forget(timer);
    if (!timer.running())
        return;
    const Clock::time_point dueAt = start_ + std::chrono::milliseconds(firstDueMs(timer));
    auto schedule = std::make_unique<Schedule>(Schedule{this, &timer, timer.interval() / 1000.0, dueAt});
    const double wait = std::max(0.0, std::chrono::duration<double>(dueAt - Clock::now()).count());
    addTimeout(wait, &FltkEventLoop::fire, schedule.get());
    schedules_.emplace(&timer, std::move(schedule));
}

// FLTK 1.3 counts a new timeout from the due time of the last timeout that
// fired, not from now, so one added late in a tick would come early by that
// tick's lateness. Adding the lateness back counts it from now.
void FltkEventLoop::addTimeout(double seconds, void (*callback)(void*), void* data)
{
    Fl::add_timeout(seconds + latenessSeconds_, callback, data);
}

void FltkEventLoop::noteLateness(Clock::time_point dueAt)
{
    latenessSeconds_ = std::max(0.0, std::chrono::duration<double>(Clock::now() - dueAt).count());
}

void FltkEventLoop::forget(Timer& timer)
{
    auto found = schedules_.find(&timer);
    if (found == schedules_.end())
        return;
    Fl::remove_timeout(&FltkEventLoop::fire, found->second.get());
    schedules_.erase(found);
}

// FLTK keeps the lateness of the last timeout that fired, of any part of the
// process, and takes it off every timeout added later (see addTimeout): one
// that is not ours, or one that fired early itself, makes the next come
// early. A timeout that comes early waits on for the rest of its time, so
// no tick and no deferred work ever runs before it is due.
bool FltkEventLoop::waitedOnIfEarly(Clock::time_point dueAt, void (*callback)(void*), void* data)
{
    const double early = std::chrono::duration<double>(dueAt - Clock::now()).count();
    if (early <= 0)
        return false;
    latenessSeconds_ = 0;
    addTimeout(early, callback, data);
    return true;
}

void FltkEventLoop::fire(void* data)
{
    auto* schedule = static_cast<Schedule*>(data);
    if (!schedule->loop->waitedOnIfEarly(schedule->dueAt, &FltkEventLoop::fire, schedule))
        schedule->loop->tick(*schedule);
}

void FltkEventLoop::tick(Schedule& schedule)
{
    Timer& timer = *schedule.timer;
    noteLateness(schedule.dueAt);
    const std::int64_t dueMs = std::chrono::duration_cast<std::chrono::milliseconds>(schedule.dueAt - start_).count();
    // Re-armed before the handler runs: repeat_timeout counts from when this
    // tick was due, and a handler that stops or changes the timer removes it.
    schedule.dueAt += std::chrono::milliseconds(timer.interval());
    Fl::repeat_timeout(schedule.seconds, &FltkEventLoop::fire, &schedule);
    if (!timer.running() || !timer.onTimer)
        return;
    // The handler may unload the form and with it this schedule.
    const std::function<void()> handler = timer.onTimer;
    dispatchTick(timer, dueMs, handler);
    wakeIfDone();
}

// FLTK runs due timeouts at the start of Fl::wait() and then blocks for the
// next event. A timeout that unloaded an awaited form must not leave the loop
// asleep: while an idle callback is set, the wait does not block. (A new
// timeout would not do: added from a timeout it inherits that one's lateness
// and runs in the same pass.) The callback goes when the wait ends.
void FltkEventLoop::wakeIfDone()
{
    for (const Form* form : awaited_) {
        if (form->isUnloaded()) {
            Fl::add_idle(&FltkEventLoop::keepAwake, this);
            return;
        }
    }
}

void FltkEventLoop::keepAwake(void*) {}

void FltkEventLoop::wake()
{
    Fl::awake(&FltkEventLoop::onAwake, nullptr);
}

void FltkEventLoop::onAwake(void*)
{
    if (!awakeLoop)
        return;
    awakeLoop->runPosted();
    awakeLoop->wakeIfDone();
}

void FltkEventLoop::waitUntilUnloaded(const Form& form)
{
    awaited_.push_back(&form);
    while (!form.isUnloaded())
        Fl::wait(kWaitForever);
    awaited_.pop_back();
    Fl::remove_idle(&FltkEventLoop::keepAwake, this);
}

void FltkEventLoop::later(int delayMs, std::function<void()> work)
{
    Deferred& deferred =
        deferred_.emplace_back(Deferred{this, std::move(work), Clock::now() + std::chrono::milliseconds(delayMs)});
    addTimeout(delayMs / 1000.0, &FltkEventLoop::runDeferred, &deferred);
}

void FltkEventLoop::runDeferred(void* data)
{
    auto* deferred = static_cast<Deferred*>(data);
    FltkEventLoop& loop = *deferred->loop;
    if (loop.waitedOnIfEarly(deferred->dueAt, &FltkEventLoop::runDeferred, deferred))
        return;
    loop.noteLateness(deferred->dueAt);
    const std::function<void()> work = std::move(deferred->work);
    loop.deferred_.remove_if([deferred](const Deferred& entry) { return &entry == deferred; });
    loop.dispatch("deferred platform work", work);
    loop.wakeIfDone();
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

} // namespace vt::fltk
