#include "demo_server/demo_console.h"

#include <cstdio>
#include <cstdlib>

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

Answer restarting(const RestartScript& script)
{
    if (script.exists)
        return stopping({"Attempting to restart with " + script.path});
    return stopping({"Startup script '" + script.path + "' does not exist! Stopping server."});
}

// The console accepts commands with or without the slash players type.
std::string withoutSlash(const std::string& line)
{
    return !line.empty() && line.front() == '/' ? line.substr(1) : line;
}

std::optional<int> seconds(const std::string& text)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > 86400)
        return std::nullopt;
    return static_cast<int>(value);
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

Answer answer(const std::string& rawLine, const RestartScript& restartScript)
{
    const std::string line = withoutSlash(rawLine);
    if (line.empty())
        return {};
    if (line == "stop")
        return stopping({});
    if (line == "restart")
        return restarting(restartScript);
    if (line.rfind("say ", 0) == 0 && line.size() > 4)
        return {{"[Server] " + line.substr(4)}, false};
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

std::optional<Options> parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--ignore-input") {
            options.ignoreInput = true;
            continue;
        }
        if (arg == "--never-stop") {
            options.neverStop = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return std::nullopt;
        const std::string& value = arguments[++i];
        if (arg == "--transcript") {
            options.transcript = value;
        } else if (arg == "--ready-file") {
            options.readyFile = value;
        } else if (arg == "--restart-script") {
            options.restartScript = value;
        } else if (arg == "--stop-seconds" && seconds(value)) {
            options.stopSeconds = *seconds(value);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

} // namespace vt::demo
