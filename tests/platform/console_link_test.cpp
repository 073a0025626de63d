#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/console_link.h"
#include "platform/failures.h"

namespace vt {
namespace {

struct MatchCase {
    std::string what;
    std::vector<std::string> titles;
    std::string title;
    std::optional<std::size_t> expected; // the chosen window, or nothing when it fails
    std::string message;                 // the failure message
};

TEST(MatchConsoleTitle, PicksTheOneWindowOrSaysWhyNot)
{
    const std::string noServer = "no window titled 'SPIGOT-SERVER' was found";
    const std::vector<MatchCase> cases{
        {"exact", {"Editor", "SPIGOT-SERVER"}, "SPIGOT-SERVER", 1, ""},
        {"exact beats a running command", {"SPIGOT-SERVER - java -jar spigot.jar", "SPIGOT-SERVER"}, "SPIGOT-SERVER", 1, ""},
        {"exact beats two running commands", {"SPIGOT-SERVER - a", "SPIGOT-SERVER", "SPIGOT-SERVER - b"}, "SPIGOT-SERVER", 1, ""},
        {"running command", {"Editor", "SPIGOT-SERVER - java -jar spigot.jar"}, "SPIGOT-SERVER", 1, ""},
        {"title with separator inside", {"Minecraft - Server - java"}, "Minecraft - Server", 0, ""},
        {"bare prefix", {"SPIGOT-SERVER2"}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"prefix without blanks", {"SPIGOT-SERVER-java"}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"prefix with one blank", {"SPIGOT-SERVER java", "SPIGOT-SERVER -java"}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"title is only a part", {"SPIGOT"}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"no windows", {}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"letter case counts", {"spigot-server", "Spigot-Server - java"}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"no trimming of windows", {" SPIGOT-SERVER", "SPIGOT-SERVER "}, "SPIGOT-SERVER", std::nullopt, noServer},
        {"no trimming of the title", {"SPIGOT-SERVER", " SPIGOT-SERVER "}, " SPIGOT-SERVER ", 1, ""},
        {"two exact", {"SPIGOT-SERVER", "Editor", "SPIGOT-SERVER"}, "SPIGOT-SERVER", std::nullopt,
         "2 windows are titled 'SPIGOT-SERVER'; a keystroke never goes to a guessed window"},
        {"three exact", {"SPIGOT-SERVER", "SPIGOT-SERVER", "SPIGOT-SERVER"}, "SPIGOT-SERVER", std::nullopt,
         "3 windows are titled 'SPIGOT-SERVER'; a keystroke never goes to a guessed window"},
        {"two running commands", {"SPIGOT-SERVER - a", "SPIGOT-SERVER - b"}, "SPIGOT-SERVER", std::nullopt,
         "2 windows have titles beginning with 'SPIGOT-SERVER - '; a keystroke never goes to a guessed window"},
        {"empty title", {"", "Editor"}, "", std::nullopt,
         "the server console title is empty; enter it in Settings & Messages"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.expected) {
            EXPECT_EQ(matchConsoleTitle(c.titles, c.title), *c.expected);
            continue;
        }
        try {
            const std::size_t chosen = matchConsoleTitle(c.titles, c.title);
            ADD_FAILURE() << "chose window " << chosen;
        } catch (const ConsoleNotFound& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

// Remembers what reached typeKeys.
class RecordingSender : public KeySender {
public:
    std::vector<std::pair<KeyActions, bool>> calls;

protected:
    void typeKeys(const KeyActions& keys, bool wait) override { calls.emplace_back(keys, wait); }
};

TEST(KeySender, TypesParsedKeysWithTheWaitFlag)
{
    RecordingSender sender;
    sender.sendKeys("ok~", true);
    sender.sendKeys("{Enter}", false);
    ASSERT_EQ(sender.calls.size(), 2u);
    EXPECT_EQ(describe(sender.calls[0].first), "ok{ENTER}");
    EXPECT_TRUE(sender.calls[0].second);
    EXPECT_EQ(describe(sender.calls[1].first), "{ENTER}");
    EXPECT_FALSE(sender.calls[1].second);
}

TEST(KeySender, BadNotationTypesNothing)
{
    RecordingSender sender;
    EXPECT_THROW(sender.sendKeys("stop{ENTR}", true), NotationError);
    EXPECT_TRUE(sender.calls.empty());
}

} // namespace
} // namespace vt
