#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/link/title_match.h"

namespace vt {
namespace {

ConsoleTitle W(std::string title)
{
    return {std::move(title), false};
} // any window
ConsoleTitle C(std::string title)
{
    return {std::move(title), true};
} // a Windows console window

struct MatchCase {
    std::string what;
    std::vector<ConsoleTitle> titles;
    std::string name;
    std::optional<std::size_t> expected; // the chosen window, or nothing when it fails
    std::string message;                 // the failure message
};

TEST(MatchConsoleTitle, PicksTheOneWindowOrSaysWhyNot)
{
    const std::string noServer = "no window titled 'SPIGOT-SERVER' was found";
    const std::vector<MatchCase> cases{
        {"exact", {W("Editor"), W("SPIGOT-SERVER")}, "SPIGOT-SERVER", 1, ""},
        {"exact beats a running command",
         {C("SPIGOT-SERVER - java -jar spigot.jar"), C("SPIGOT-SERVER")},
         "SPIGOT-SERVER",
         1,
         ""},
        {"running command in a console",
         {W("Editor"), C("SPIGOT-SERVER - java -jar spigot.jar")},
         "SPIGOT-SERVER",
         1,
         ""},
        {"running command in any other window",
         {W("SPIGOT-SERVER - notes.txt")},
         "SPIGOT-SERVER",
         std::nullopt,
         noServer},
        {"title with separator inside", {C("Minecraft - Server - java")}, "Minecraft - Server", 0, ""},
        {"bare prefix", {C("SPIGOT-SERVER2")}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"prefix without blanks", {C("SPIGOT-SERVER-java")}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"prefix with one blank",
         {C("SPIGOT-SERVER java"), C("SPIGOT-SERVER -java")},
         "SPIGOT-SERVER",
         std::nullopt,
         noServer},
        {"title is only a part", {W("SPIGOT")}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"no windows", {}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"letter case counts",
         {W("spigot-server"), C("Spigot-Server - java")},
         "SPIGOT-SERVER",
         std::nullopt,
         noServer},
        {"no trimming of windows", {W(" SPIGOT-SERVER"), W("SPIGOT-SERVER ")}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"no trimming of the name", {W("SPIGOT-SERVER"), W(" SPIGOT-SERVER ")}, " SPIGOT-SERVER ", 1, ""},
        {"two exact",
         {W("SPIGOT-SERVER"), W("Editor"), W("SPIGOT-SERVER")},
         "SPIGOT-SERVER",
         std::nullopt,
         "2 windows are titled 'SPIGOT-SERVER'; a keystroke never goes to a guessed window"},
        {"two running commands",
         {C("SPIGOT-SERVER - a"), C("SPIGOT-SERVER - b")},
         "SPIGOT-SERVER",
         std::nullopt,
         "2 windows have titles beginning with 'SPIGOT-SERVER - '; a keystroke never goes to a guessed window"},
        {"empty name",
         {W(""), W("Editor")},
         "",
         std::nullopt,
         "the server console title is empty; enter it in Settings & Messages"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.expected) {
            EXPECT_EQ(matchConsoleTitle(c.titles, c.name), *c.expected);
            continue;
        }
        try {
            const std::size_t chosen = matchConsoleTitle(c.titles, c.name);
            ADD_FAILURE() << "chose window " << chosen;
        } catch (const ConsoleNotFound& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

TEST(MatchConsoleTitle, SeveralCandidatesAreAmbiguousNotMissing)
{
    EXPECT_THROW(matchConsoleTitle({W("A"), W("A")}, "A"), ConsoleAmbiguous);
    EXPECT_THROW(matchConsoleTitle({C("A - x"), C("A - y")}, "A"), ConsoleAmbiguous);
    try {
        matchConsoleTitle({W("B")}, "A");
        ADD_FAILURE() << "found a window";
    } catch (const ConsoleAmbiguous&) {
        ADD_FAILURE() << "a missing window is reported as ambiguous";
    } catch (const ConsoleNotFound&) {
    }
}

} // namespace
} // namespace vt
