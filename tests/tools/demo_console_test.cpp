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

std::vector<std::string> stopLinesAfter(const std::string& first)
{
    std::vector<std::string> lines = {first};
    lines.insert(lines.end(), stopLines.begin(), stopLines.end());
    return lines;
}

TEST(DemoConsole, AnswersCommandsLikeTheServerConsole)
{
    const std::string unknown = "Unknown command. Type \"/help\" for help.";
    const Case cases[] = {
        {"say Server stops in 3 minutes", {"[Server] Server stops in 3 minutes"}, false},
        {"say §cGrüße €", {"[Server] §cGrüße €"}, false},
        {"/say hi", {"[Server] hi"}, false},
        {"say", {"Usage: /say <message>"}, false},
        {"stop", stopLines, true},
        {"/stop", stopLines, true},
        {"restart", stopLinesAfter("Startup script './start.sh' does not exist! Stopping server."), true},
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

TEST(DemoConsole, RestartsOnlyWithItsRestartScript)
{
    const Answer restarts = answer("restart", {"/srv/mc/start.sh", true});
    EXPECT_EQ(restarts.messages, stopLinesAfter("Attempting to restart with /srv/mc/start.sh"));
    EXPECT_TRUE(restarts.stops);

    const Answer stopsOnly = answer("/restart", {"/srv/mc/start.sh", false});
    EXPECT_EQ(stopsOnly.messages, stopLinesAfter("Startup script '/srv/mc/start.sh' does not exist! Stopping server."));
    EXPECT_TRUE(stopsOnly.stops);
}

TEST(DemoConsole, ReadsItsOptions)
{
    const auto all = parseOptions({"--transcript", "t.txt", "--ready-file", "r", "--restart-script", "./start.sh",
                                   "--ignore-input", "--stop-seconds", "20", "--never-stop"});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->transcript, "t.txt");
    EXPECT_EQ(all->readyFile, "r");
    EXPECT_EQ(all->restartScript, "./start.sh");
    EXPECT_TRUE(all->ignoreInput);
    EXPECT_EQ(all->stopSeconds, 20);
    EXPECT_TRUE(all->neverStop);

    const auto none = parseOptions({});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->restartScript || none->ignoreInput || none->neverStop || none->stopSeconds != 0);

    const std::vector<std::string> wrong[] = {
        {"--stop-seconds"}, {"--stop-seconds", "-1"}, {"--stop-seconds", "2s"}, {"--transcript"}, {"--frozen"}};
    for (const auto& arguments : wrong)
        EXPECT_FALSE(parseOptions(arguments)) << ::testing::PrintToString(arguments);
}

} // namespace
} // namespace vt::demo
