// One name looked up in several links: two simulated consoles stand for a
// link that types without the focus (first) and a window link (second).
#include <gtest/gtest.h>

#include <string>

#include "platform/failures.h"
#include "platform/headless/headless_console.h"
#include "platform/link/console_links.h"

namespace vt {
namespace {

using headless::HeadlessConsole;
using headless::WindowId;

class ConsoleLinksTest : public ::testing::Test {
protected:
    std::int64_t nowMs = 0;
    HeadlessConsole sessions{[this] { return nowMs; }};
    HeadlessConsole windows{[this] { return nowMs; }};
    ConsoleLinks links{{{"tmux", sessions}, {"x11", windows}}};

    void type(const std::string& name, const std::string& keys)
    {
        const auto sender = links.activate(name);
        sender->sendKeys(keys, true);
        sender->deliver();
    }

    std::string failureOf(const std::string& name) { return failureIn(links, name); }

    static std::string failureIn(ConsoleLink& link, const std::string& name)
    {
        try {
            link.activate(name);
        } catch (const ConsoleNotFound& error) {
            return error.what();
        }
        return "(found)";
    }
};

TEST_F(ConsoleLinksTest, TheFirstLinkThatHasTheNameWins)
{
    const WindowId session = sessions.openWindow("SPIGOT-SERVER");
    const WindowId window = windows.openWindow("SPIGOT-SERVER");
    type("SPIGOT-SERVER", "say a~");
    EXPECT_EQ(sessions.typedInto(session), "say a{ENTER}");
    EXPECT_EQ(windows.typedInto(window), "");
    EXPECT_EQ(windows.activations(), 0); // the window was never brought forward
}

TEST_F(ConsoleLinksTest, ALaterLinkIsAskedWhenTheFirstHasNoSuchConsole)
{
    sessions.openWindow("LOBBY");
    const WindowId window = windows.openWindow("SPIGOT-SERVER");
    type("SPIGOT-SERVER", "x");
    EXPECT_EQ(windows.typedInto(window), "x");
}

TEST_F(ConsoleLinksTest, APrefixRestrictsTheLookupToOneLink)
{
    const WindowId session = sessions.openWindow("SPIGOT-SERVER");
    const WindowId window = windows.openWindow("SPIGOT-SERVER");
    type("x11:SPIGOT-SERVER", "w");
    type("tmux:SPIGOT-SERVER", "t");
    EXPECT_EQ(windows.typedInto(window), "w");
    EXPECT_EQ(sessions.typedInto(session), "t");

    windows.closeWindow(window);
    EXPECT_EQ(failureOf("x11:SPIGOT-SERVER"), "no window titled 'SPIGOT-SERVER' was found");
}

TEST_F(ConsoleLinksTest, AmbiguityInAnEarlierLinkIsNeverResolvedByALaterOne)
{
    sessions.openWindow("SPIGOT-SERVER");
    sessions.openWindow("SPIGOT-SERVER");
    const WindowId window = windows.openWindow("SPIGOT-SERVER");
    EXPECT_THROW(links.activate("SPIGOT-SERVER"), ConsoleAmbiguous);
    EXPECT_EQ(windows.typedInto(window), "");
    EXPECT_EQ(windows.activations(), 0);
}

// A link that found the console but may not type into it now (no server
// reads it, or it is paused) has the last word: a later link would reach
// the same console, or another of its name, by a less careful way.
TEST_F(ConsoleLinksTest, AConsoleFoundButNotReadyIsNeverTypedIntoByALaterLink)
{
    struct Refusing : ConsoleLink {
        bool paused = false;
        std::unique_ptr<KeySender> activate(const std::string& title) override
        {
            if (paused)
                throw ConsolePaused("the console '" + title + "' is paused");
            throw NoServerRunning("the console '" + title + "' shows a shell prompt");
        }
    } refusing;
    ConsoleLinks composed{{{"console", refusing}, {"window", windows}}};
    const WindowId window = windows.openWindow("SPIGOT-SERVER");
    EXPECT_THROW(composed.activate("SPIGOT-SERVER"), NoServerRunning);
    EXPECT_EQ(failureIn(composed, "SPIGOT-SERVER"), "the console 'SPIGOT-SERVER' shows a shell prompt");
    refusing.paused = true;
    EXPECT_THROW(composed.activate("SPIGOT-SERVER"), ConsolePaused);
    EXPECT_EQ(windows.typedInto(window), "");
    EXPECT_EQ(windows.activations(), 0);
    // Named on purpose, the window is still reached.
    const auto sender = composed.activate("window:SPIGOT-SERVER");
    EXPECT_NE(sender, nullptr);
}

TEST_F(ConsoleLinksTest, NotFoundAnywhereGivesEveryLinksReason)
{
    EXPECT_EQ(failureOf("SPIGOT-SERVER"),
              "no window titled 'SPIGOT-SERVER' was found; no window titled 'SPIGOT-SERVER' was found");
    EXPECT_EQ(failureOf("x11:"), "the server console title is empty; enter it in Settings & Messages");
    EXPECT_EQ(failureOf("screen:SPIGOT-SERVER"),
              "this program reaches no screen consoles here; remove the prefix 'screen:' from the console title");
    // Windows' console-title link: a prefix of its own everywhere.
    EXPECT_EQ(failureOf("console:SPIGOT-SERVER"),
              "this program reaches no console consoles here; remove the prefix 'console:' from the console title");
}

// A link whose console of that name shows a shell prompt.
class ConsoleAtPrompt : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string& title) override
    {
        throw NoServerRunning("the console '" + title +
                              "' shows a shell prompt: the server is not running there; nothing was typed");
    }
};

// Found by a later link after the others missed it, the refusal is the
// report, word for word, not what the other links did not find.
TEST_F(ConsoleLinksTest, AConsoleAtAShellPromptIsReportedWordForWord)
{
    ConsoleAtPrompt prompt;
    ConsoleLinks promptLast{{{"x11", windows}, {"tmux", prompt}}};
    EXPECT_EQ(failureIn(promptLast, "SPIGOT-SERVER"),
              "the console 'SPIGOT-SERVER' shows a shell prompt: the server is not running there; nothing was typed");
    EXPECT_THROW(promptLast.activate("SPIGOT-SERVER"), NoServerRunning);
}

// What the entry file knows about a link (a Wayland desktop) follows that
// link's report of a missing console, and only that one.
TEST_F(ConsoleLinksTest, ALinksAdviceFollowsItsNotFoundReportOnly)
{
    ConsoleLinks advised{{{"tmux", sessions}, {"x11", windows, "native Wayland terminals cannot be typed into"}}};
    EXPECT_EQ(failureIn(advised, "SPIGOT-SERVER"),
              "no window titled 'SPIGOT-SERVER' was found; no window titled "
              "'SPIGOT-SERVER' was found (native Wayland terminals cannot be typed into)");
    EXPECT_EQ(failureIn(advised, "tmux:SPIGOT-SERVER"), "no window titled 'SPIGOT-SERVER' was found");
    windows.openWindow("SPIGOT-SERVER");
    windows.openWindow("SPIGOT-SERVER");
    EXPECT_EQ(failureIn(advised, "SPIGOT-SERVER"),
              "2 windows are titled 'SPIGOT-SERVER'; a keystroke never goes to a guessed window");
}

TEST_F(ConsoleLinksTest, AnUnknownPrefixIsPartOfTheTitle)
{
    const WindowId window = windows.openWindow("java: SPIGOT");
    type("java: SPIGOT", "x");
    EXPECT_EQ(windows.typedInto(window), "x");
}

} // namespace
} // namespace vt
