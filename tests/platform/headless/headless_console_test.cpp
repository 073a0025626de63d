#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/headless/headless_console.h"

namespace vt {
namespace {

class HeadlessConsoleTest : public ::testing::Test {
protected:
    std::int64_t nowMs = 0;
    HeadlessConsole console{[this] { return nowMs; }};
};

TEST_F(HeadlessConsoleTest, ActivationFocusesTheConsoleAndRecordsEveryCall)
{
    const WindowId editor = console.openWindow("Editor");
    const WindowId server = console.openWindow("SPIGOT-SERVER - java -jar spigot.jar", true);
    console.focus(editor);
    nowMs = 1500;

    auto sender = console.activate("SPIGOT-SERVER");
    EXPECT_EQ(console.focusedWindow(), server);
    EXPECT_EQ(console.activations(), 1);
    sender->sendKeys("say ", true);
    sender->sendKeys("", true); // types nothing, leaves no entry
    sender->sendKeys("back in 5~", true);
    sender->sendKeys("{Enter}", false);

    const auto& transcript = console.transcript();
    ASSERT_EQ(transcript.size(), 3u);
    EXPECT_EQ(transcript[0].atMs, 1500);
    EXPECT_EQ(transcript[0].window, server);
    EXPECT_EQ(transcript[0].title, "SPIGOT-SERVER - java -jar spigot.jar");
    EXPECT_EQ(transcript[1].keys, "back in 5{ENTER}");
    EXPECT_TRUE(transcript[1].wait);
    EXPECT_FALSE(transcript[2].wait);
    EXPECT_EQ(console.typedInto(server), "say back in 5{ENTER}{ENTER}");
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say back in 5", ""}));
    EXPECT_EQ(console.typedInto(editor), "");
}

TEST_F(HeadlessConsoleTest, LinesAreCompleteOnly)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto sender = console.activate("SPIGOT-SERVER");
    sender->sendKeys("say a~say b", true);
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say a"}));
}

TEST_F(HeadlessConsoleTest, NotationErrorTypesNothingOfItsString)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto sender = console.activate("SPIGOT-SERVER");
    EXPECT_THROW(sender->sendKeys("say hi{ENTR}", true), NotationError);
    EXPECT_TRUE(console.transcript().empty());
    EXPECT_EQ(console.typedInto(server), "");
}

TEST_F(HeadlessConsoleTest, StolenFocusStopsTypingAtOnce)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    const WindowId chat = console.openWindow("Chat");
    auto sender = console.activate("SPIGOT-SERVER");
    console.stealFocusAfter(3, chat);
    try {
        sender->sendKeys("say hello~", true);
        FAIL() << "typing went on";
    } catch (const FocusLost& error) {
        EXPECT_EQ(std::string(error.what()), "focus left the console window 'SPIGOT-SERVER'; typing stopped");
    }
    EXPECT_EQ(console.focusedWindow(), chat);
    EXPECT_EQ(console.typedInto(server), "say");
    EXPECT_THROW(sender->sendKeys("{ENTER}", false), FocusLost);
    EXPECT_EQ(console.typedInto(chat), "");
    ASSERT_EQ(console.transcript().size(), 1u);
}

TEST_F(HeadlessConsoleTest, FocusStolenAfterTheLastKeyFailsTheNextString)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    const WindowId chat = console.openWindow("Chat");
    auto sender = console.activate("SPIGOT-SERVER");
    console.stealFocusAfter(4, chat);
    sender->sendKeys("stop", true);
    EXPECT_EQ(console.focusedWindow(), chat);
    EXPECT_THROW(sender->sendKeys("{ENTER}", true), FocusLost);
    EXPECT_EQ(console.typedInto(server), "stop");
    EXPECT_EQ(console.typedInto(chat), "");
}

TEST_F(HeadlessConsoleTest, ClosedConsoleStopsTheSender)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto sender = console.activate("SPIGOT-SERVER");
    console.closeWindow(server);
    EXPECT_EQ(console.focusedWindow(), 0);
    EXPECT_THROW(sender->sendKeys("stop~", true), FocusLost);
    EXPECT_THROW(console.activate("SPIGOT-SERVER"), ConsoleNotFound);
    EXPECT_TRUE(console.transcript().empty());
}

TEST_F(HeadlessConsoleTest, WindowAppearsWhenTheClockReachesIt)
{
    console.openWindowAt(5000, "SPIGOT-SERVER");
    nowMs = 4999;
    EXPECT_THROW(console.activate("SPIGOT-SERVER"), ConsoleNotFound);
    nowMs = 5000;
    auto sender = console.activate("SPIGOT-SERVER");
    sender->sendKeys("list~", true);
    EXPECT_EQ(console.linesTypedInto(1), (std::vector<std::string>{"list"}));
    EXPECT_EQ(console.transcript().at(0).atMs, 5000);
}

TEST_F(HeadlessConsoleTest, SenderCreationFailureAfterActivation)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    console.failSenderCreation(true);
    EXPECT_THROW(console.activate("SPIGOT-SERVER"), KeySenderFailed);
    EXPECT_EQ(console.focusedWindow(), server); // the window was activated before the failure
    EXPECT_EQ(console.activations(), 0);
    console.failSenderCreation(false);
    EXPECT_NE(console.activate("SPIGOT-SERVER"), nullptr);
    EXPECT_EQ(console.activations(), 1);
}

TEST_F(HeadlessConsoleTest, AmbiguousTitleFocusesNothing)
{
    const WindowId editor = console.openWindow("Editor");
    console.openWindow("SPIGOT-SERVER");
    const WindowId other = console.openWindow("Other");
    console.focus(editor);
    console.setTitle(other, "SPIGOT-SERVER");
    EXPECT_THROW(console.activate("SPIGOT-SERVER"), ConsoleNotFound);
    EXPECT_EQ(console.focusedWindow(), editor);
    EXPECT_EQ(console.activations(), 0);
}

TEST_F(HeadlessConsoleTest, TranscriptShowsTheTitleAtTypingTime)
{
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto sender = console.activate("SPIGOT-SERVER");
    console.setTitle(server, "SPIGOT-SERVER - java");
    sender->sendKeys("x", true);
    EXPECT_EQ(console.transcript().at(0).title, "SPIGOT-SERVER - java");
}

} // namespace
} // namespace vt
