// A stand-in server console for the read-back benchmark: answers "say TEXT"
// with a Spigot-like "[Server] TEXT" line and then appends the time it wrote
// it (microseconds of the real-time clock) to TIMES; ends STOP_SECONDS after
// "stop", printing nothing meanwhile, as a server saving its worlds. With
// TICK_MS it answers at its next tick, as Spigot does: console commands wait
// in a queue for the next tick of the server's loop (every 50 ms).
//
// usage: answer-server TIMES STOP_SECONDS [TICK_MS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Sleeps until the next tick since start (none when tickMs is 0).
void awaitTick(Clock::time_point start, long tickMs)
{
    if (tickMs <= 0)
        return;
    const auto tick = std::chrono::milliseconds(tickMs);
    std::this_thread::sleep_until(start + ((Clock::now() - start) / tick + 1) * tick);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fputs("usage: answer-server TIMES STOP_SECONDS [TICK_MS]\n", stderr);
        return 2;
    }
    const long tickMs = argc == 4 ? std::atol(argv[3]) : 0;
    const Clock::time_point start = Clock::now();
    std::FILE* times = std::fopen(argv[1], "a");
    if (times == nullptr)
        return 1;
    std::printf("[12:00:00 INFO]: Done (1.042s)! For help, type \"help\"\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("say ", 0) == 0) {
            awaitTick(start, tickMs);
            std::printf("[12:00:00 INFO]: [Not Secure] [Server] %s\n", line.substr(4).c_str());
            std::fflush(stdout);
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::fprintf(times, "%lld\n",
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
            std::fflush(times);
        } else if (line == "stop") {
            std::printf("[12:00:00 INFO]: Stopping the server\n");
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[2])));
            return 0;
        }
    }
    return 0;
}
