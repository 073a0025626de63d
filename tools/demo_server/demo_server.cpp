// demo-server [--transcript FILE] [--ready-file FILE]
// Behaves like a Spigot server console on a terminal: logs a start-up banner,
// answers say, stop, restart and unknown commands, and ends after stop or
// restart. --transcript appends every line received, byte for byte without its
// line break, flushed per line; --ready-file is created once the banner is out.
#include <ctime>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "demo_server/demo_console.h"

namespace {

struct Options {
    std::optional<std::string> transcript;
    std::optional<std::string> readyFile;
};

bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        if (arg == "--transcript") {
            options.transcript = argv[++i];
        } else if (arg == "--ready-file") {
            options.readyFile = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

void log(const std::string& message)
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    std::cout << vt::demo::logLine(local->tm_hour, local->tm_min, local->tm_sec, message) << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: demo-server [--transcript FILE] [--ready-file FILE]\n";
        return 64;
    }
    std::ofstream transcript;
    if (options.transcript) {
        transcript.open(*options.transcript, std::ios::app | std::ios::binary);
        if (!transcript) {
            std::cerr << "demo-server: cannot open the transcript '" << *options.transcript << "'\n";
            return 1;
        }
    }
    for (const auto& message : vt::demo::startupMessages())
        log(message);
    if (options.readyFile && !std::ofstream(*options.readyFile)) {
        std::cerr << "demo-server: cannot create the ready file '" << *options.readyFile << "'\n";
        return 1;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        if (transcript.is_open())
            transcript << line << '\n' << std::flush;
        const auto answer = vt::demo::answer(line);
        for (const auto& message : answer.messages)
            log(message);
        if (answer.stops)
            return 0;
    }
    return 0;
}
