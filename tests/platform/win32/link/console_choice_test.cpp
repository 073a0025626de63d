// Which console a title means, from what probing the processes gave: the
// same rules as for windows, with processes that share a console counted
// once and the processes that refused a look counted in the report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/win32/link/console_choice.h"

namespace vt::win32 {
namespace {

using Outcome = ConsoleProbe::Outcome;

ConsoleProbe attached(std::uint32_t process, const std::string& title, std::uintptr_t console)
{
    return {process, Outcome::Attached, title, console, ""};
}

ConsoleProbe denied(std::uint32_t process)
{
    return {process, Outcome::Denied, "", 0, ""};
}
ConsoleProbe noConsole(std::uint32_t process)
{
    return {process, Outcome::NoConsole, "", 0, ""};
}

std::string failureOf(const std::vector<ConsoleProbe>& probes, const std::string& name)
{
    try {
        chooseConsoleByTitle(probes, name);
    } catch (const ConsoleAmbiguous& error) {
        return std::string("ambiguous: ") + error.what();
    } catch (const ConsoleNotFound& error) {
        return error.what();
    }
    return "(found)";
}

TEST(ConsoleChoice, ProcessesSharingAConsoleAreOneConsole)
{
    // cmd running the .bat and the java it started share one console.
    const auto choice = chooseConsoleByTitle({noConsole(4), attached(100, "SPIGOT-SERVER", 0x50),
                                              attached(7, "LOBBY", 0x60), attached(101, "SPIGOT-SERVER", 0x50)},
                                             "SPIGOT-SERVER");
    EXPECT_EQ(choice.processes, (std::vector<std::uint32_t>{100, 101}));
    EXPECT_EQ(choice.console, 0x50u);
}

TEST(ConsoleChoice, TwoConsolesWithTheTitleAreRefused)
{
    EXPECT_EQ(failureOf({attached(100, "SPIGOT-SERVER", 0x50), attached(7, "SPIGOT-SERVER", 0x60)}, "SPIGOT-SERVER"),
              "ambiguous: 2 consoles are titled 'SPIGOT-SERVER'; a keystroke never goes to a guessed console");
    EXPECT_EQ(failureOf({attached(100, "SPIGOT-SERVER - java", 0x50), attached(7, "SPIGOT-SERVER - cmd", 0x60)},
                        "SPIGOT-SERVER"),
              "ambiguous: several consoles have titles beginning with 'SPIGOT-SERVER - '; a keystroke never goes "
              "to a guessed console");
}

TEST(ConsoleChoice, ConsolesWithoutAWindowCannotBeToldApartSoEachCountsAlone)
{
    EXPECT_EQ(failureOf({attached(100, "SPIGOT-SERVER", 0), attached(101, "SPIGOT-SERVER", 0)}, "SPIGOT-SERVER"),
              "ambiguous: 2 consoles are titled 'SPIGOT-SERVER'; a keystroke never goes to a guessed console");
    EXPECT_EQ(chooseConsoleByTitle({attached(100, "SPIGOT-SERVER", 0)}, "SPIGOT-SERVER").processes,
              (std::vector<std::uint32_t>{100}));
}

TEST(ConsoleChoice, TheReportCountsTheProgramsThatRefusedALook)
{
    EXPECT_EQ(failureOf({attached(7, "LOBBY", 0x60), noConsole(4)}, "SPIGOT-SERVER"),
              "no console titled 'SPIGOT-SERVER' was found");
    EXPECT_EQ(failureOf({attached(7, "LOBBY", 0x60), denied(8)}, "SPIGOT-SERVER"),
              "no console titled 'SPIGOT-SERVER' was found; 1 program could not be looked into (if the server runs "
              "elevated, run this program elevated too)");
    EXPECT_EQ(failureOf({denied(8), denied(9), denied(10)}, "SPIGOT-SERVER"),
              "no console titled 'SPIGOT-SERVER' was found; 3 programs could not be looked into (if the server runs "
              "elevated, run this program elevated too)");
}

TEST(ConsoleChoice, AConsoleThatWasFoundNeedsNoWordAboutTheOthers)
{
    const auto choice = chooseConsoleByTitle({denied(8), attached(7, "SPIGOT-SERVER", 0x60)}, "SPIGOT-SERVER");
    EXPECT_EQ(choice.processes, (std::vector<std::uint32_t>{7}));
}

// A selection in the server's window holds the server still: reported as
// such, never as a missing console, and never typed into.
TEST(ConsoleChoice, AConsoleUnderASelectionIsPausedNotMissing)
{
    const std::string paused = "the console 'SPIGOT-SERVER' is paused by a selection in its window (its title shows "
                               "'Select SPIGOT-SERVER'): the server stands still until the selection ends; nothing "
                               "was typed";
    EXPECT_EQ(failureOf({attached(7, "LOBBY", 0x60), attached(100, "Select SPIGOT-SERVER", 0x50)}, "SPIGOT-SERVER"),
              paused);
    EXPECT_THROW(chooseConsoleByTitle({attached(100, "Select SPIGOT-SERVER - java", 0x50)}, "SPIGOT-SERVER"),
                 ConsolePaused);
    // Another console that has the title exactly is the one meant.
    EXPECT_EQ(chooseConsoleByTitle({attached(100, "Select SPIGOT-SERVER", 0x50), attached(7, "SPIGOT-SERVER", 0x60)},
                                   "SPIGOT-SERVER")
                  .console,
              0x60u);
    EXPECT_EQ(failureOf({attached(100, "Select SPIGOT-SERVER2", 0x50)}, "SPIGOT-SERVER"),
              "no console titled 'SPIGOT-SERVER' was found");
}

TEST(ConsoleChoice, AnEmptyNameFindsNothing)
{
    EXPECT_EQ(failureOf({attached(7, "", 0x60)}, ""),
              "the server console title is empty; enter it in Settings & Messages");
}

} // namespace
} // namespace vt::win32
