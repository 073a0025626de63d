#include "demo_server/demo_console.h"

#include <gtest/gtest.h>

namespace vt::demo {
namespace {

struct Case {
    const char* line;
    std::vector<std::string> messages;
    bool stops;
};

const std::vector<std::string> stopLines = {"Stopping the server", "Stopping server", "Saving players",
                                            "Saving worlds"};

std::vector<std::string> restartLines()
{
    std::vector<std::string> lines = {"Startup script './start.sh' does not exist! Stopping server."};
    lines.insert(lines.end(), stopLines.begin(), stopLines.end());
    return lines;
}

TEST(DemoConsole, AnswersCommandsLikeTheServerConsole)
{
    const std::string unknown = "Unknown command. Type \"/help\" for help.";
    const Case cases[] = {
        {"say Server stops in 3 minutes", {"[Not Secure] [Server] Server stops in 3 minutes"}, false},
        {"say §cGrüße €", {"[Not Secure] [Server] §cGrüße €"}, false},
        {"/say hi", {"[Not Secure] [Server] hi"}, false},
        {"say", {"Usage: /say <message>"}, false},
        {"stop", stopLines, true},
        {"/stop", stopLines, true},
        {"restart", restartLines(), true},
        {"", {}, false},
        {"STOP", {unknown}, false},
        {"stop now", {unknown}, false},
        {"sayhello", {unknown}, false},
        {"help me", {unknown}, false},
    };
    for (const auto& c : cases) {
        const Answer got = answer(c.line);
        EXPECT_EQ(got.messages, c.messages) << c.line;
        EXPECT_EQ(got.stops, c.stops) << c.line;
    }
}

} // namespace
} // namespace vt::demo
