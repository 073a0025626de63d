#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/multiplexer/screen_sessions.h"
#include "platform/multiplexer/tmux_target.h"

namespace vt::multiplexer {
namespace {

using ::testing::HasSubstr;

TEST(TmuxName, SessionAloneOrSessionAndWindowAtTheFirstColon)
{
    const TmuxName plain = parseTmuxName("SPIGOT-SERVER");
    EXPECT_EQ(plain.session, "SPIGOT-SERVER");
    EXPECT_FALSE(plain.window);
    const TmuxName withWindow = parseTmuxName("SPIGOT:console: main");
    EXPECT_EQ(withWindow.session, "SPIGOT");
    EXPECT_EQ(withWindow.window, "console: main");
}

TEST(TmuxName, NamesNoTmuxSessionCanHaveAreNotFoundSoTheLookupGoesOn)
{
    EXPECT_THROW(parseTmuxName("My.Server"), ConsoleNotFound);
    EXPECT_THROW(parseTmuxName(":1"), ConsoleNotFound);
    EXPECT_THROW(parseTmuxName("SPIGOT:"), ConsoleNotFound);
    try {
        parseTmuxName("My.Server");
    } catch (const ConsoleAmbiguous&) {
        FAIL() << "an impossible name is not ambiguous";
    } catch (const ConsoleNotFound& missing) {
        EXPECT_THAT(missing.what(), HasSubstr("'My.Server'"));
    }
}

const std::string kWindows = "@1\t0\t0\t0\tbash\n"
                             "@4\t1\t1\t0\tjava\n"
                             "@5\t2\t0\t1\tlogs\n"
                             "@6\t3\t0\t0\tdup\n"
                             "@9\t4\t0\t0\tdup\n"
                             "@7\t5\t0\t0\tname\twith tab\n";

TEST(TmuxWindow, SessionAloneMeansItsActiveWindow)
{
    EXPECT_EQ(chooseTmuxWindow(kWindows, {"S", std::nullopt}), "@4");
}

TEST(TmuxWindow, WindowByExactNameOrByIndex)
{
    EXPECT_EQ(chooseTmuxWindow(kWindows, {"S", "bash"}), "@1");
    EXPECT_EQ(chooseTmuxWindow(kWindows, {"S", "3"}), "@6");
    EXPECT_EQ(chooseTmuxWindow(kWindows, {"S", "1"}), "@4");
    EXPECT_EQ(chooseTmuxWindow(kWindows, {"S", "name\twith tab"}), "@7");
    EXPECT_THROW(chooseTmuxWindow(kWindows, {"S", "bas"}), ConsoleNotFound);
    EXPECT_THROW(chooseTmuxWindow(kWindows, {"S", "9"}), ConsoleNotFound);
}

TEST(TmuxWindow, TwoWindowsOfTheNameAreAmbiguous)
{
    EXPECT_THROW(chooseTmuxWindow(kWindows, {"S", "dup"}), ConsoleAmbiguous);
}

TEST(TmuxWindow, DeadPaneIsNotFoundAndSaysWhy)
{
    try {
        chooseTmuxWindow(kWindows, {"S", "logs"});
        FAIL() << "a dead pane was chosen";
    } catch (const ConsoleAmbiguous&) {
        FAIL() << "a dead pane is not ambiguous";
    } catch (const ConsoleNotFound& missing) {
        EXPECT_THAT(missing.what(), HasSubstr("exited"));
    }
}

const std::string kScreens = "There are screens on:\n"
                             "\t7905.PROBE\t(12/07/26 01:13:05)\t(Detached)\n"
                             "\t7682.SPIGOT\t(12/07/26 01:13:02)\t(Attached)\n"
                             "\t7700.SPIGOT-2\t(12/07/26 01:13:02)\t(Detached)\n"
                             "\t7701.a.b\t(Detached)\n"
                             "\t8000.OLD\t(Dead ?\?\?)\n"
                             "5 Sockets in /run/screen/S-root.\n";

TEST(ScreenSessions, ExactNameOnlyGivesPidDotName)
{
    EXPECT_EQ(chooseScreenSession(kScreens, "SPIGOT"), "7682.SPIGOT");
    EXPECT_EQ(chooseScreenSession(kScreens, "a.b"), "7701.a.b");
    EXPECT_THROW(chooseScreenSession(kScreens, "SPIG"), ConsoleNotFound);
    EXPECT_THROW(chooseScreenSession(kScreens, "7682.SPIGOT"), ConsoleNotFound);
}

TEST(ScreenSessions, TwoLiveSessionsOfTheNameAreAmbiguous)
{
    const std::string two = kScreens + "\t9999.SPIGOT\t(Detached)\n";
    try {
        chooseScreenSession(two, "SPIGOT");
        FAIL() << "two sessions were not refused";
    } catch (const ConsoleAmbiguous& ambiguous) {
        EXPECT_THAT(ambiguous.what(), HasSubstr("7682.SPIGOT"));
        EXPECT_THAT(ambiguous.what(), HasSubstr("9999.SPIGOT"));
    }
}

TEST(ScreenSessions, DeadSessionAndNoSocketsAreNotFound)
{
    EXPECT_THROW(chooseScreenSession(kScreens, "OLD"), ConsoleNotFound);
    EXPECT_THROW(chooseScreenSession("No Sockets found in /run/screen/S-root.\n", "SPIGOT"), ConsoleNotFound);
    // A dead one beside a live one does not make it ambiguous.
    EXPECT_EQ(chooseScreenSession(kScreens + "\t8001.PROBE\t(Dead ?\?\?)\n", "PROBE"), "7905.PROBE");
}

} // namespace
} // namespace vt::multiplexer
