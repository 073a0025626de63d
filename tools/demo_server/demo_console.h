#pragma once

#include <string>
#include <vector>

namespace vt::demo {

// What the console does with one line typed into it.
struct Answer {
    std::vector<std::string> messages; // each logged as "[HH:MM:SS INFO]: message"
    bool stops = false;                // the server ends after logging them
};

// The start-up messages; the last one is the ready marker.
std::vector<std::string> startupMessages();

// Answers a command line as a Spigot server console does.
Answer answer(const std::string& line);

// A message as a log line at the given time of day.
std::string logLine(int hour, int minute, int second, const std::string& message);

} // namespace vt::demo
