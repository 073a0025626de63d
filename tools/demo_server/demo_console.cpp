#include "demo_server/demo_console.h"

#include <cstdio>

namespace vt::demo {

namespace {

const std::vector<std::string> stopMessages = {
    "Stopping the server",
    "Stopping server",
    "Saving players",
    "Saving worlds",
};

Answer stopping(std::vector<std::string> before)
{
    before.insert(before.end(), stopMessages.begin(), stopMessages.end());
    return {std::move(before), true};
}

// The console accepts commands with or without the slash players type.
std::string withoutSlash(const std::string& line)
{
    return !line.empty() && line.front() == '/' ? line.substr(1) : line;
}

} // namespace

std::vector<std::string> startupMessages()
{
    return {
        "Starting minecraft server version 1.20.4",
        "Loading properties",
        "Default game type: SURVIVAL",
        "Preparing level \"world\"",
        "Done (1.042s)! For help, type \"help\"",
    };
}

Answer answer(const std::string& rawLine)
{
    const std::string line = withoutSlash(rawLine);
    if (line.empty())
        return {};
    if (line == "stop")
        return stopping({});
    if (line == "restart")
        return stopping({"Startup script './start.sh' does not exist! Stopping server."});
    if (line.rfind("say ", 0) == 0 && line.size() > 4)
        return {{"[Not Secure] [Server] " + line.substr(4)}, false};
    if (line == "say" || line == "say ")
        return {{"Usage: /say <message>"}, false};
    return {{"Unknown command. Type \"/help\" for help."}, false};
}

std::string logLine(int hour, int minute, int second, const std::string& message)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d INFO]: ", hour, minute, second);
    return stamp + message;
}

} // namespace vt::demo
