// Starts a program again and again and measures, for each start, the time
// from exec to the first top-level window being mapped, and the resident
// memory once it has settled. Needs a display without a window manager.
//   start_probe RUNS PROGRAM...   prints "median_ms min_ms rss_kib" per program
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kMapTimeout = std::chrono::seconds(10);
constexpr auto kSettleTime = std::chrono::milliseconds(300);

long residentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

pid_t launch(const char* program)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits, bounded, for a MapNotify of a child of the root window.
bool waitForMap(Display* display)
{
    const auto deadline = Clock::now() + kMapTimeout;
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return true;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        timeval wait{0, 100000};
        select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &wait);
    }
    return false;
}

struct Start {
    double ms = -1;
    long rssKib = -1;
};

Start measure(Display* display, const char* program)
{
    XSync(display, True); // drop the events of earlier runs
    Start start;
    const auto before = Clock::now();
    const pid_t pid = launch(program);
    if (waitForMap(display)) {
        start.ms = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
        std::this_thread::sleep_for(kSettleTime);
        start.rssKib = residentKib(pid);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return start;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: start_probe RUNS PROGRAM...\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("start_probe: cannot open the X display\n", stderr);
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<std::vector<Start>> results(static_cast<std::size_t>(argc - 2));
    // Alternate the programs so that both see the same machine load.
    for (int run = 0; run < runs; ++run)
        for (int p = 2; p < argc; ++p)
            results[static_cast<std::size_t>(p - 2)].push_back(measure(display, argv[p]));
    for (const auto& starts : results) {
        std::vector<double> ms;
        long rss = 0;
        for (const Start& s : starts) {
            if (s.ms < 0) {
                std::puts("-1 -1 -1");
                return 1;
            }
            ms.push_back(s.ms);
            rss = std::max(rss, s.rssKib);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%.1f %.1f %ld\n", ms[ms.size() / 2], ms.front(), rss);
    }
    XCloseDisplay(display);
    return 0;
}
