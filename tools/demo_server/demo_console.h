#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vt::demo {

// What the console does with one line typed into it.
struct Answer {
    std::vector<std::string> messages; // each logged as "[HH:MM:SS INFO]: message"
    bool stops = false;                // the server ends after logging them
};

// The restart script as spigot.yml names it (restart-script), and whether it
// exists now: `restart` runs it after the stop, or stops only.
struct RestartScript {
    std::string path = "./start.sh";
    bool exists = false;
};

// The start-up messages; the last one is the ready marker.
std::vector<std::string> startupMessages();

// Answers a command line as a Spigot server console does.
Answer answer(const std::string& line, const RestartScript& restartScript = {});

// A message as a log line at the given time of day.
std::string logLine(int hour, int minute, int second, const std::string& message);

// How the demo server is run (see demo_server.cpp for the options).
struct Options {
    std::optional<std::string> transcript;
    std::optional<std::string> readyFile;
    std::optional<std::string> restartScript;
    bool ignoreInput = false;
    int stopSeconds = 0;
    bool neverStop = false;
};

// nullopt when the arguments are not valid.
std::optional<Options> parseOptions(const std::vector<std::string>& arguments);

} // namespace vt::demo
