// A stand-in server console for the read-back benchmark: answers "say TEXT"
// with a Spigot-like "[Server] TEXT" line and then appends the time it wrote
// it (microseconds of the real-time clock) to TIMES; ends STOP_SECONDS after
// "stop", printing nothing meanwhile, as a server saving its worlds.
//
// usage: answer-server TIMES STOP_SECONDS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: answer-server TIMES STOP_SECONDS\n", stderr);
        return 2;
    }
    std::FILE* times = std::fopen(argv[1], "a");
    if (times == nullptr)
        return 1;
    std::printf("[12:00:00 INFO]: Done (1.042s)! For help, type \"help\"\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("say ", 0) == 0) {
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
