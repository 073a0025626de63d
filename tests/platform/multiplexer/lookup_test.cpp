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

// list-sessions, then list-panes -a: session "S" ($1) has a window of two
// panes, "RAW" is $2, and "$1" is a session's name, not its id.
const std::string kListing = "$1\tS\n"
                             "$2\tRAW\n"
                             "$3\t$1\n"
                             "%1\t$1\t@1\t0\t0\t0\t0\tbash\t101\tbash\n"
                             "%4\t$1\t@4\t1\t1\t0\t0\tjava\t104\tjava\n"
                             "%5\t$1\t@5\t2\t0\t0\t1\ttail\t105\tlogs\n"
                             "%6\t$1\t@6\t3\t0\t0\t0\tsh\t106\tdup\n"
                             "%9\t$1\t@9\t4\t0\t0\t0\tsh\t109\tdup\n"
                             "%7\t$1\t@7\t5\t0\t0\t0\tsh\t107\tname\twith tab\n"
                             "%8\t$1\t@8\t6\t0\t0\t0\tjava\t108\tsplit\n"
                             "%10\t$1\t@8\t6\t0\t1\t0\tbash\t110\tsplit\n"
                             "%11\t$1\t@11\t7\t0\t0\t0\tsh\t111\tv1.2\n"
                             "%12\t$1\t@12\t8\t0\t0\t0\tsh\t112\tv1\n"
                             "%2\t$2\t@2\t0\t1\t0\t0\tjava\t102\tjava\n"
                             "%3\t$3\t@3\t0\t1\t0\t0\tsh\t103\tsh\n";

std::string pane(const std::string& session, std::optional<std::string> window = std::nullopt)
{
    return chooseTmuxPane(kListing, {session, std::move(window)}).id;
}

TEST(TmuxPane, SessionAloneMeansTheOnlyPaneOfItsActiveWindow)
{
    EXPECT_EQ(pane("S"), "%4");
    EXPECT_EQ(pane("RAW"), "%2");
}

// The window's closing and the pane's first process tell the link that the
// console closed or the server ended.
TEST(TmuxPane, ComesWithItsWindowAndFirstProcess)
{
    const TmuxPane split = chooseTmuxPane(kListing, {"S", "6.1"});
    EXPECT_EQ(split.id, "%10");
    EXPECT_EQ(split.window, "@8");
    EXPECT_EQ(split.pid, 110);
    EXPECT_EQ(chooseTmuxPane(kListing, {"S", "name\twith tab"}).pid, 107) << "the window name comes last";
}

TEST(TmuxPane, TheSessionIsFoundByItsOwnNameOnly)
{
    EXPECT_EQ(pane("$1"), "%3") << "the session named $1, not the one whose id is $1";
    EXPECT_THROW(pane("$2"), ConsoleNotFound);
    EXPECT_THROW(pane("pts/12"), ConsoleNotFound);
    EXPECT_THROW(pane("RA"), ConsoleNotFound);
}

TEST(TmuxPane, WindowByExactNameOrByIndex)
{
    EXPECT_EQ(pane("S", "bash"), "%1");
    EXPECT_EQ(pane("S", "3"), "%6");
    EXPECT_EQ(pane("S", "1"), "%4");
    EXPECT_EQ(pane("S", "name\twith tab"), "%7");
    EXPECT_THROW(pane("S", "bas"), ConsoleNotFound);
    EXPECT_THROW(pane("S", "9"), ConsoleNotFound);
}

TEST(TmuxPane, AWindowOfSeveralPanesNeedsThePaneNamed)
{
    EXPECT_EQ(pane("S", "split.0"), "%8");
    EXPECT_EQ(pane("S", "6.1"), "%10");
    EXPECT_EQ(pane("S", "1.0"), "%4");
    EXPECT_THROW(pane("S", "split.2"), ConsoleNotFound);
    try {
        pane("S", "split");
        FAIL() << "a pane of two was guessed";
    } catch (const ConsoleAmbiguous& ambiguous) {
        EXPECT_THAT(ambiguous.what(), HasSubstr("2 panes ('S:6.0' java, 'S:6.1' bash)"));
    }
}

TEST(TmuxPane, TwoWindowsOfTheNameOrTwoReadingsOfItAreAmbiguous)
{
    EXPECT_THROW(pane("S", "dup"), ConsoleAmbiguous);
    EXPECT_THROW(pane("S", "v1.2"), ConsoleAmbiguous) << "the window v1.2, or pane 2 of the window v1";
    EXPECT_EQ(pane("S", "v1.0"), "%12");
}

// link-window puts one window into the session twice: list-panes -a lists
// its panes once for each link.
TEST(TmuxPane, AWindowLinkedTwiceIsStillOneWindowOfOnePane)
{
    const std::string linked = "$0\tT\n"
                               "%0\t$0\t@0\t0\t0\t0\t0\tjava\t100\tjava\n"
                               "%0\t$0\t@0\t5\t1\t0\t0\tjava\t100\tjava\n";
    EXPECT_EQ(chooseTmuxPane(linked, {"T", std::nullopt}).id, "%0");
    EXPECT_EQ(chooseTmuxPane(linked, {"T", "java"}).id, "%0");
}

TEST(TmuxPane, DeadPaneIsNotFoundAndSaysWhy)
{
    try {
        pane("S", "logs");
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

TEST(ScreenName, SplitAtTheFirstColonUnlessASessionHasTheWholeName)
{
    const std::string sessions = kScreens + "\t9000.a:b\t(Detached)\n";
    EXPECT_EQ(parseScreenName(sessions, "SPIGOT").window, std::nullopt);
    const ScreenName withWindow = parseScreenName(sessions, "SPIGOT:log: 1");
    EXPECT_EQ(withWindow.session, "SPIGOT");
    EXPECT_EQ(withWindow.window, "log: 1");
    EXPECT_EQ(parseScreenName(sessions, "a:b").session, "a:b");
    EXPECT_THROW(parseScreenName(sessions, "SPIGOT:"), ConsoleNotFound);
}

const std::string kScreenWindows = "0\tbash\n"
                                   "1\tjava\n"
                                   "2\tlog\ts\n"
                                   "3\tdup\n"
                                   "4\tdup\n"
                                   "5\t7\n";

TEST(ScreenWindow, OneWindowIsTheConsoleAndSeveralNeedOneNamed)
{
    EXPECT_EQ(chooseScreenWindow("0\tsh\n", {"S", std::nullopt}), "0");
    try {
        chooseScreenWindow(kScreenWindows.substr(0, 14), {"S", std::nullopt});
        FAIL() << "the current window of two was guessed";
    } catch (const ConsoleAmbiguous& ambiguous) {
        EXPECT_THAT(ambiguous.what(), HasSubstr("2 windows (0 'bash', 1 'java')"));
        EXPECT_THAT(ambiguous.what(), HasSubstr("'S:WINDOW'"));
    }
}

TEST(ScreenWindow, WindowByNumberOrExactTitle)
{
    EXPECT_EQ(chooseScreenWindow(kScreenWindows, {"S", "java"}), "1");
    EXPECT_EQ(chooseScreenWindow(kScreenWindows, {"S", "0"}), "0");
    EXPECT_EQ(chooseScreenWindow(kScreenWindows, {"S", "log\ts"}), "2");
    EXPECT_EQ(chooseScreenWindow(kScreenWindows, {"S", "5"}), "5");
    EXPECT_THROW(chooseScreenWindow(kScreenWindows, {"S", "7"}), ConsoleNotFound) << "numbers are window numbers";
    EXPECT_THROW(chooseScreenWindow(kScreenWindows, {"S", "jav"}), ConsoleNotFound);
    EXPECT_THROW(chooseScreenWindow(kScreenWindows, {"S", "dup"}), ConsoleAmbiguous);
}

} // namespace
} // namespace vt::multiplexer
