#include <gtest/gtest.h>

#include "platform/multiplexer/console_lines.h"
#include "platform/multiplexer/control_mode.h"

namespace vt::multiplexer {
namespace {

using Kind = ControlLine::Kind;

TEST(ControlMode, PaneOutputIsUnescapedUtf8AndAll)
{
    const ControlLine line = parseControlLine("%output %12 [12:00:00 INFO]: [Server] Gr\xc3\xbc\xc3\x9f"
                                              "e \\134 \\033[0m\\015\\012");
    EXPECT_EQ(line.kind, Kind::Output);
    EXPECT_EQ(line.target, "%12");
    EXPECT_EQ(line.text, "[12:00:00 INFO]: [Server] Gr\xc3\xbc\xc3\x9f"
                         "e \\ \x1b[0m\r\n");
}

TEST(ControlMode, OnlyThreeOctalDigitsAreAnEscape)
{
    EXPECT_EQ(unescapeControlOutput("\\1"), "\\1");
    EXPECT_EQ(unescapeControlOutput("a\\01"), "a\\01");
    EXPECT_EQ(unescapeControlOutput("\\0123"), "\n3");
    EXPECT_EQ(unescapeControlOutput("\\089"), "\\089");
    EXPECT_EQ(parseControlLine("%output %3").text, "");
}

TEST(ControlMode, TheNotificationsTheWatchActsOn)
{
    EXPECT_EQ(parseControlLine("%window-close @4").kind, Kind::WindowClosed);
    EXPECT_EQ(parseControlLine("%window-close @4").target, "@4");
    EXPECT_EQ(parseControlLine("%unlinked-window-close @7").target, "@7");
    EXPECT_EQ(parseControlLine("%unlinked-window-close @7").kind, Kind::WindowClosed);
    EXPECT_EQ(parseControlLine("%exit").kind, Kind::Exit);
    EXPECT_EQ(parseControlLine("%exit server exited").kind, Kind::Exit);
    EXPECT_EQ(parseControlLine("%end 1796644691 266 0").kind, Kind::Done);
    EXPECT_EQ(parseControlLine("%error 1796644691 267 1").kind, Kind::Failed);
    EXPECT_EQ(parseControlLine("%session-changed $0 S1").kind, Kind::Other);
    EXPECT_EQ(parseControlLine("%exited").kind, Kind::Other);
    EXPECT_EQ(parseControlLine("%window-renamed @0 cat").kind, Kind::Other);
}

TEST(ConsoleLines, LinesAreWholeHoweverTheOutputIsCut)
{
    ConsoleLines lines;
    EXPECT_TRUE(lines.add("[Server] Hel").empty());
    EXPECT_EQ(lines.add("lo\r\nnext"), (std::vector<std::string>{"[Server] Hello\r"}));
    EXPECT_EQ(lines.add("\n\n"), (std::vector<std::string>{"next", ""}));
}

TEST(ConsoleLines, AHugeLineIsCutNotHeld)
{
    ConsoleLines lines;
    const std::vector<std::string> cut = lines.add(std::string(100 * 1024, 'x'));
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size(), 64u * 1024);
}

TEST(SightingInLine, ASayLineIsAnsweredByTheServerRepeatingIt)
{
    const StepExpectation say{StepExpectation::Kind::Say, "\xc2\xa7"
                                                          "cRestart in 1 minute"};
    EXPECT_EQ(sightingInLine("[12:00:00 INFO]: [Not Secure] [Server] Restart in 1 minute\r", say),
              ConsoleSighting::Answered);
    EXPECT_FALSE(sightingInLine("> say \xc2\xa7"
                                "cRestart in 1 minute",
                                say))
        << "the echo of the keys";
    const StepExpectation restart{StepExpectation::Kind::Restart, ""};
    const std::string noScript = "[12:00:01 INFO]: Startup script './start.sh' does not exist! Stopping server.";
    EXPECT_EQ(sightingInLine(noScript, restart), ConsoleSighting::NoRestartScript);
    EXPECT_FALSE(sightingInLine(noScript, say));
    EXPECT_FALSE(sightingInLine(noScript, {StepExpectation::Kind::Stop, ""}));
}

} // namespace
} // namespace vt::multiplexer
