// Measures the FLTK event loop's timers on a real display:
//  - lateness: three timers (100, 250, 1000 ms) run together for five
//    seconds; each tick's delay behind its due time (enabling + k * interval);
//  - idle wakeups: with one 2-second timer and nothing else due, how often the
//    process woke between two ticks (voluntary context switches, less the tick);
//  - run drift: a run's chain of steps (each handler starts the next timer and
//    stops its own), scaled down to 200, 1000, 1000, 1000 and 200 ms, once
//    with steps that take 150 ms to "type" and once with steps that take
//    none; each step's lateness behind its time from the chain's start, and
//    the time to the last step, typing over not typing (1.00 when typing
//    does not drift; 1.18 if each step's typing pushed the next back).
// Run under Xvfb: bench/start/run.sh shows how, or DISPLAY=... fltk_timing_bench
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <FL/Fl.H>

#include "platform/fltk/fltk_event_loop.h"
#include "platform/fltk/fltk_view_factory.h"
#include "platform/fltk/fltk_x11_hints.h"
#include "platform/headless/headless_console.h"
#include "platform/headless/memory_store.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLatenessRunMs = 5000;
constexpr int kIdleIntervalMs = 2000;
constexpr int kIdleIntervals = 3;
constexpr double kLatenessGoalMs = 5.0;

long voluntarySwitches()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    return -1;
}

class TimingForm : public vt::Form {
public:
    explicit TimingForm(vt::Services& services)
        : Form(services, "TIMING", "VT-HALTWARD timing", vt::WindowStyle{4000, 1000, true, 8.25})
    {
    }
    vt::Label status{*this, "STATUS", vt::Rect{120, 120, 3600, 375}, 0, "measuring timers"};
    vt::Timer fast{*this, "FAST"};
    vt::Timer medium{*this, "MEDIUM"};
    vt::Timer slow{*this, "SLOW"};
    vt::Timer idle{*this, "IDLE"};
};

struct Series {
    const char* name;
    int intervalMs;
    std::vector<double> lateMs;
};

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// Each tick's lateness behind enabling + k * interval.
void recordTicks(vt::Timer& timer, Series& series, const Clock::time_point& start)
{
    timer.setInterval(series.intervalMs);
    timer.onTimer = [&series, &start] {
        const double elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const double dueMs = static_cast<double>(series.lateMs.size() + 1) * series.intervalMs;
        series.lateMs.push_back(elapsedMs - dueMs);
    };
}

class ChainForm : public vt::Form {
public:
    explicit ChainForm(vt::Services& services) : Form(services, "CHAIN", "VT-HALTWARD chain", vt::WindowStyle{}) {}
    vt::Timer steps[5] = {{*this, "S0"}, {*this, "S1"}, {*this, "S2"}, {*this, "S3"}, {*this, "S4"}};
};

// Runs the chain once; each step's lateness in ms behind its time.
std::vector<double> runChain(vt::Services& services, std::chrono::milliseconds typing)
{
    const int intervalsMs[5] = {200, 1000, 1000, 1000, 200};
    ChainForm chain(services);
    chain.show();
    std::vector<double> lateMs;
    Clock::time_point start;
    for (int i = 0; i < 5; ++i) {
        chain.steps[i].setInterval(intervalsMs[i]);
        chain.steps[i].onTimer = [&, i] {
            int dueMs = 0;
            for (int k = 0; k <= i; ++k)
                dueMs += intervalsMs[k];
            lateMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() - dueMs);
            std::this_thread::sleep_for(typing);
            if (i + 1 < 5)
                chain.steps[i + 1].setEnabled(true);
            else
                chain.unload();
            chain.steps[i].setEnabled(false);
        };
    }
    start = Clock::now();
    chain.steps[0].setEnabled(true);
    services.loop.run(chain);
    return lateMs;
}

void reportChains(vt::Services& services)
{
    const std::vector<double> typing = runChain(services, std::chrono::milliseconds(150));
    const std::vector<double> none = runChain(services, std::chrono::milliseconds(0));
    std::printf("\nrun drift: each step's lateness, ms (steps typing 150 ms / typing nothing)\n");
    for (std::size_t i = 0; i < typing.size() && i < none.size(); ++i)
        std::printf("step %zu %10.2f %10.2f\n", i, typing[i], none[i]);
    constexpr double kLastStepDueMs = 3400;
    if (typing.size() == 5 && none.size() == 5)
        std::printf("time to the last step, typing / not typing: %.3f\n",
                    (kLastStepDueMs + typing.back()) / (kLastStepDueMs + none.back()));
}

} // namespace

int main()
{
    if (!vt::fltk::openFltkDisplay()) {
        std::fputs("fltk_timing_bench: cannot open the X display; set DISPLAY\n", stderr);
        return 1;
    }
    vt::fltk::FltkEventLoop loop;
    vt::fltk::FltkViewFactory views(loop, [](int size) { return std::vector<std::uint32_t>(size * size, 0); });
    vt::headless::MemoryStore store;
    vt::headless::HeadlessConsole console([&loop] { return loop.nowMs(); });
    vt::Services services{loop, store, console, views, [] { return std::string("timing"); }};

    TimingForm form(services);
    form.setWidth(4090);
    form.setHeight(1375);
    form.setLeft(600);
    form.setTop(600);
    form.show();

    std::vector<Series> series{{"100 ms", 100, {}}, {"250 ms", 250, {}}, {"1000 ms", 1000, {}}};
    Clock::time_point start;
    recordTicks(form.fast, series[0], start);
    recordTicks(form.medium, series[1], start);
    recordTicks(form.slow, series[2], start);
    auto slowTick = form.slow.onTimer;
    std::vector<long> idleWakeups;
    long switchesAtLastTick = -1;
    form.idle.setInterval(kIdleIntervalMs);
    form.idle.onTimer = [&] {
        const long now = voluntarySwitches();
        if (switchesAtLastTick >= 0)
            idleWakeups.push_back(now - switchesAtLastTick - 1); // less this tick's own wakeup
        switchesAtLastTick = now;
        if (static_cast<int>(idleWakeups.size()) == kIdleIntervals)
            form.unload();
    };
    form.slow.onTimer = [&] {
        slowTick();
        if (series[2].lateMs.size() * 1000 < kLatenessRunMs)
            return;
        form.fast.setEnabled(false);
        form.medium.setEnabled(false);
        form.slow.setEnabled(false);
        form.idle.setEnabled(true);
    };

    // The window's first paint is not the loop's doing: let it settle first.
    for (int i = 0; i < 10; ++i)
        Fl::wait(0.02);
    start = Clock::now();
    form.fast.setEnabled(true);
    form.medium.setEnabled(true);
    form.slow.setEnabled(true);
    loop.run(form);

    std::printf("FLTK loop timer lateness (goal: every tick <= %.0f ms late)\n", kLatenessGoalMs);
    std::printf("%-8s %6s %10s %10s %10s %10s\n", "timer", "ticks", "median ms", "p95 ms", "max ms", "last ms");
    for (const Series& s : series)
        std::printf("%-8s %6zu %10.2f %10.2f %10.2f %10.2f\n", s.name, s.lateMs.size(), percentile(s.lateMs, 0.5),
                    percentile(s.lateMs, 0.95), percentile(s.lateMs, 1.0), s.lateMs.empty() ? 0.0 : s.lateMs.back());
    std::printf("\nwakeups while nothing was due (goal 0), per %d ms:", kIdleIntervalMs);
    for (long wakeups : idleWakeups)
        std::printf(" %ld", wakeups);
    std::printf("\n");
    reportChains(services);
    return 0;
}
