#include <gtest/gtest.h>

#include <string>

#include "platform/link/console_answer.h"

namespace vt {
namespace {

TEST(ConsoleAnswer, ColourCodesAndTerminalEscapesAreNotText)
{
    EXPECT_EQ(plainConsoleText("\xc2\xa7"
                               "6Restart in \xc2\xa7lone\xc2\xa7r minute"),
              "Restart in one minute");
    EXPECT_EQ(plainConsoleText("\x1b[38;2;255;170;0mRestart\x1b[0m now\r"), "Restart now");
    EXPECT_EQ(plainConsoleText("\x1b]0;SPIGOT\a[Server] hi\x1b]2;x\x1b\\!"), "[Server] hi!");
    // A colour code before a character of several bytes takes it whole.
    EXPECT_EQ(plainConsoleText("a\xc2\xa7\xe2\x82\xac"
                               "b"),
              "ab");
    // Cut short at the end: nothing is read past the text.
    EXPECT_EQ(plainConsoleText("bye\x1b["), "bye");
    EXPECT_EQ(plainConsoleText("bye\xc2\xa7"), "bye");
}

TEST(ConsoleAnswer, ASayLineIsAnsweredByTheWholeLineAfterServer)
{
    const std::string answer = "\xc2\xa7"
                               "6Restart in 1 minute";
    // As Paper, Spigot and vanilla print it, colour codes kept or rendered.
    EXPECT_TRUE(answersSay("[04:03:28 INFO]: [Not Secure] [Server] \xc2\xa7"
                           "6Restart in 1 minute",
                           answer));
    EXPECT_TRUE(answersSay("[04:03:28] [Server thread/INFO]: [Server] \x1b[0;33;1mRestart in 1 minute\x1b[m", answer));
    EXPECT_TRUE(answersSay("[Server] Restart in 1 minute  ", "Restart in 1 minute  "));
    // The echo of what was typed is no answer, nor another line.
    EXPECT_FALSE(answersSay("> say \xc2\xa7"
                            "6Restart in 1 minute",
                            answer));
    EXPECT_FALSE(answersSay("[Server] Restart in 1 minute or 2", answer));
    EXPECT_FALSE(answersSay("[Server] Restart in 1 minu", answer));
    EXPECT_FALSE(answersSay("bash: say: command not found", answer));
}

TEST(ConsoleAnswer, ARestartWithoutItsScriptIsSeen)
{
    EXPECT_TRUE(
        reportsNoRestartScript("[04:05:00 INFO]: Startup script './start.sh' does not exist! Stopping server."));
    EXPECT_FALSE(reportsNoRestartScript("[04:05:00 INFO]: Stopping server"));
    EXPECT_FALSE(reportsNoRestartScript("[04:05:00 INFO]: [Server] Startup script"));
}

} // namespace
} // namespace vt
