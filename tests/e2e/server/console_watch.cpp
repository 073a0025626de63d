// usage: console-watch NAME say|stop|restart ANSWER SECONDS NOTATION...
// Looks a console up through the real tmux and screen links, as the program
// without a display composes them, prints what the link can see of it, starts
// watching for the step, types the NOTATION arguments as one step, and prints
// each sighting with the milliseconds since the keys were handed over. After
// SECONDS it ends the watch, says how long that took, and counts the child
// processes left. Exits 1 (ConsoleNotFound, and 5 for
// NoServerRunning), 3 (ConsoleAmbiguous) or 4 (any other failure).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include <unistd.h>

#include "multiplexer_tool.h"

namespace {

using Clock = std::chrono::steady_clock;

vt::StepExpectation::Kind kindOf(const char* word)
{
    if (std::strcmp(word, "stop") == 0)
        return vt::StepExpectation::Kind::Stop;
    if (std::strcmp(word, "restart") == 0)
        return vt::StepExpectation::Kind::Restart;
    return vt::StepExpectation::Kind::Say;
}

// This program's child processes, zombies included: an ended watch leaves none.
int childrenLeft()
{
    const std::string self = std::to_string(::getpid());
    int children = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        std::getline(stat, text);
        const std::size_t close = text.rfind(')');
        std::istringstream fields(close == std::string::npos ? "" : text.substr(close + 1));
        std::string state;
        std::string parent;
        if (fields >> state >> parent && parent == self)
            ++children;
    }
    return children;
}

int watchStep(vt::ConsoleLinks& links, int argc, char** argv)
{
    auto sender = links.activate(argv[1]);
    const vt::ConsoleSight sight = sender->sight();
    std::printf("SIGHT readable=%d serverWatched=%d\n", sight.readable, sight.serverWatched);
    std::fflush(stdout);
    std::mutex mutex;
    Clock::time_point delivered = Clock::now();
    auto watch = sender->watch({kindOf(argv[2]), argv[3]}, [&](vt::ConsoleSighting sighting) {
        const std::lock_guard<std::mutex> lock(mutex);
        const auto ms = std::chrono::duration<double, std::milli>(Clock::now() - delivered).count();
        std::printf("SIGHTING %s %.2f ms\n", vt::sightingName(sighting), ms);
        std::fflush(stdout);
    });
    for (int i = 5; i < argc; ++i)
        sender->sendKeys(argv[i], false);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        delivered = Clock::now();
    }
    sender->deliver();
    std::printf("DELIVERED\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[4])));
    const Clock::time_point ending = Clock::now();
    watch.reset();
    std::printf("WATCH ENDED IN %.0f ms\n", std::chrono::duration<double, std::milli>(Clock::now() - ending).count());
    std::printf("CHILDREN %d\n", childrenLeft());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fputs("usage: console-watch NAME say|stop|restart ANSWER SECONDS NOTATION...\n", stderr);
        return 2;
    }
    return withMultiplexerLinks([&](vt::ConsoleLinks& links) { return watchStep(links, argc, argv); });
}
