// demo-server [--transcript FILE] [--ready-file FILE] [--restart-script FILE]
//             [--ignore-input] [--stop-seconds N] [--never-stop]
// Behaves like a Spigot server console on a terminal: logs a start-up banner,
// answers say, stop, restart and unknown commands, and ends after stop or
// restart.
// --transcript FILE   appends every line received, byte for byte without its
//                     line break, flushed per line.
// --ready-file FILE   is created once the banner is out.
// --restart-script FILE  the restart script of spigot.yml: `restart` stops
//                     with "Attempting to restart with FILE" when FILE exists
//                     then (a start loop around the server brings it back),
//                     else says it does not exist and stops. Without it,
//                     './start.sh' does not exist, as on a fresh server.
// --ignore-input      a frozen console: after the banner it reads and answers
//                     nothing until it is killed.
// --stop-seconds N    saving the worlds takes N seconds before the server ends.
// --never-stop        logs the stop lines, then hangs and never ends.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "demo_server/demo_console.h"

namespace {

void log(const std::string& message)
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    std::cout << vt::demo::logLine(local->tm_hour, local->tm_min, local->tm_sec, message) << std::endl;
}

// Until the process is killed (standard C++: the Windows build has it too).
[[noreturn]] void hang()
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

vt::demo::RestartScript restartScript(const vt::demo::Options& options)
{
    if (!options.restartScript)
        return {};
    std::error_code error;
    return {*options.restartScript, std::filesystem::is_regular_file(*options.restartScript, error)};
}

// The server's end after its stop lines.
int stop(const vt::demo::Options& options)
{
    if (options.neverStop)
        hang();
    std::this_thread::sleep_for(std::chrono::seconds(options.stopSeconds));
    return 0;
}

int serve(const vt::demo::Options& options, std::ofstream& transcript)
{
    std::string line;
    while (std::getline(std::cin, line)) {
        if (transcript.is_open())
            transcript << line << '\n' << std::flush;
        const auto answer = vt::demo::answer(line, restartScript(options));
        for (const auto& message : answer.messages)
            log(message);
        if (answer.stops)
            return stop(options);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = vt::demo::parseOptions({argv + 1, argv + argc});
    if (!options) {
        std::cerr << "usage: demo-server [--transcript FILE] [--ready-file FILE] [--restart-script FILE]\n"
                     "                   [--ignore-input] [--stop-seconds N] [--never-stop]\n";
        return 64;
    }
    std::ofstream transcript;
    if (options->transcript) {
        transcript.open(*options->transcript, std::ios::app | std::ios::binary);
        if (!transcript) {
            std::cerr << "demo-server: cannot open the transcript '" << *options->transcript << "'\n";
            return 1;
        }
    }
    for (const auto& message : vt::demo::startupMessages())
        log(message);
    if (options->readyFile && !std::ofstream(*options->readyFile)) {
        std::cerr << "demo-server: cannot create the ready file '" << *options->readyFile << "'\n";
        return 1;
    }
    if (options->ignoreInput)
        hang();
    return serve(*options, transcript);
}
