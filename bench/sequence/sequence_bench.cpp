// How long a whole warned shutdown takes on the virtual clock: START, the
// three warnings, the final text, "stop", back to ready. Prints the median
// time per run, and beside it the median of an empty load-and-close of the
// main window, so the figure reads as a ratio on any machine.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/vt_haltward_main.h"
#include "platform/headless/headless_console.h"
#include "platform/headless/headless_event_loop.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"

namespace {

using Clock = std::chrono::steady_clock;

double medianMicros(int runs, const std::function<void()>& body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto begin = Clock::now();
        body();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Program {
    vt::headless::HeadlessEventLoop loop;
    vt::headless::MemoryStore store;
    vt::headless::HeadlessConsole console{[this] { return loop.nowMs(); }};
    vt::headless::NullViewFactory views;
    vt::Services services{loop, store, console, views, [] { return std::string("vt-haltward"); }};

    Program()
    {
        store.put("vt-haltward", "WINDOW_NAME_TEXTBOX", "SPIGOT-SERVER");
        store.put("vt-haltward", "THREE_MIN_MESSAGE_TEXTBOX", "§cServer stops in 3 minutes!");
        store.put("vt-haltward", "TWO_MIN_MESSAGE_TEXTBOX", "§cServer stops in 2 minutes!");
        store.put("vt-haltward", "ONE_MIN_MESSAGE_TEXTBOX", "§cServer stops in 1 minute!");
        store.put("vt-haltward", "SHUTDOWN_RESTART_MESSAGE_TEXTBOX", "§4Bye for now (back in 5)");
        console.openWindow("SPIGOT-SERVER");
    }
};

void loadAndClose()
{
    Program program;
    vt::VT_HALTWARD_MAIN main(program.services);
    main.load();
    main.show();
    main.close();
}

void fullRun()
{
    Program program;
    vt::VT_HALTWARD_MAIN main(program.services);
    main.load();
    main.show();
    main.click(main.AUTOSTART_SHUTDOWN_TICKBOX);
    main.click(main.START_STOP_BUTTON);
    program.loop.advance(210);
    if (program.console.transcript().size() != 13 || main.CURRENT_STATUS_LABEL.caption() != "READY...")
        std::fprintf(stderr, "sequence_bench: the run did not complete\n");
    main.close();
}

} // namespace

int main()
{
    constexpr int kRuns = 2001;
    const double load = medianMicros(kRuns, loadAndClose);
    const double run = medianMicros(kRuns, fullRun);
    std::printf("%-40s %12s %8s\n", "case (median of 2001)", "time", "ratio");
    std::printf("%-40s %9.1f us %8.2f\n", "load and close the main window", load, 1.0);
    std::printf("%-40s %9.1f us %8.2f\n", "full 210-second shutdown run", run, run / load);
    std::printf("goal: a full run <= 10 ms; %s\n", run <= 10000 ? "met" : "NOT met");
    return 0;
}
