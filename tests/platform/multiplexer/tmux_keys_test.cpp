#include "platform/multiplexer/tmux_keys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt::multiplexer {
namespace {

using ::testing::ElementsAre;
using Args = std::vector<std::string>;

Args argsFor(std::string_view notation)
{
    return tmuxTypingArgs("@7", parseKeystrokes(notation));
}

TEST(TmuxKeys, TextIsOneLiteralSendKeysAndEnterAnother)
{
    EXPECT_THAT(argsFor("say §cBye Grüße €5 中文~"),
                ElementsAre("send-keys", "-t", "@7", "-l", "--", "say §cBye Grüße €5 中文", ";", "send-keys", "-t",
                            "@7", "Enter"));
}

TEST(TmuxKeys, TextThatLooksLikeOptionsOrFormatsStaysOneLiteralArgument)
{
    EXPECT_THAT(argsFor("-t {^}C \\ $HOME #{{}pane_id{}} {{}x{}}"),
                ElementsAre("send-keys", "-t", "@7", "-l", "--", "-t ^C \\ $HOME #{pane_id} {x}"));
}

// tmux reads an argument ending in ";" as the end of a command: a text that
// ends so is guarded with a backslash, which tmux removes again.
struct SemicolonCase {
    const char* notation;
    const char* argument;
};

class TmuxSemicolons : public ::testing::TestWithParam<SemicolonCase> {};

TEST_P(TmuxSemicolons, FinalSemicolonIsEscapedOnce)
{
    EXPECT_THAT(argsFor(GetParam().notation), ElementsAre("send-keys", "-t", "@7", "-l", "--", GetParam().argument));
}

INSTANTIATE_TEST_SUITE_P(Texts, TmuxSemicolons,
                         ::testing::Values(SemicolonCase{";", "\\;"}, SemicolonCase{"a;", "a\\;"},
                                           SemicolonCase{"x\\;", "x\\\\;"}, SemicolonCase{"a;b", "a;b"},
                                           SemicolonCase{"; x", "; x"}));

struct KeyCase {
    const char* notation;
    const char* tmuxName;
};

class TmuxKeyNames : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TmuxKeyNames, NamedKeyBecomesTmuxKeyName)
{
    EXPECT_THAT(argsFor(GetParam().notation), ElementsAre("send-keys", "-t", "@7", GetParam().tmuxName));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TmuxKeyNames,
    ::testing::Values(KeyCase{"{ENTER}", "Enter"}, KeyCase{"{TAB}", "Tab"}, KeyCase{"{BS}", "BSpace"},
                      KeyCase{"{ESC}", "Escape"}, KeyCase{"{UP}", "Up"}, KeyCase{"{DOWN}", "Down"},
                      KeyCase{"{LEFT}", "Left"}, KeyCase{"{RIGHT}", "Right"}, KeyCase{"{HOME}", "Home"},
                      KeyCase{"{END}", "End"}, KeyCase{"{PGUP}", "PPage"}, KeyCase{"{PGDN}", "NPage"},
                      KeyCase{"{INSERT}", "IC"}, KeyCase{"{DELETE}", "DC"}, KeyCase{"{F1}", "F1"},
                      KeyCase{"{F12}", "F12"}, KeyCase{"^c", "C-c"}, KeyCase{"^C", "C-c"}, KeyCase{"^{[}", "C-["},
                      KeyCase{"%x", "M-x"}, KeyCase{"%{;}", "M-\\;"}, KeyCase{"^%d", "C-M-d"},
                      KeyCase{"+{TAB}", "BTab"}, KeyCase{"+{UP}", "S-Up"}, KeyCase{"^{LEFT}", "C-Left"},
                      KeyCase{"%{F5}", "M-F5"}, KeyCase{"%{ENTER}", "M-Enter"}, KeyCase{"+a", "A"}));

TEST(TmuxKeys, ConsecutiveNamedKeysShareOneSendKeys)
{
    EXPECT_THAT(argsFor("{UP}{UP}x"),
                ElementsAre("send-keys", "-t", "@7", "Up", "Up", ";", "send-keys", "-t", "@7", "-l", "--", "x"));
}

class TmuxUnsendable : public ::testing::TestWithParam<const char*> {};

// tmux would type an unknown key name as its letters: these must fail first.
TEST_P(TmuxUnsendable, KeyTmuxHasNoNameForFailsTheWholeStep)
{
    EXPECT_THROW(argsFor(std::string("say hi") + GetParam()), KeySenderFailed);
}

INSTANTIATE_TEST_SUITE_P(Keys, TmuxUnsendable,
                         ::testing::Values("{F13}", "{F16}", "{BREAK}", "{CAPSLOCK}", "{NUMLOCK}", "{PRTSC}",
                                           "{SCROLLLOCK}", "{HELP}", "^é", "%€", "^1", "+1", "^{ENTER}", "+{BS}",
                                           "^{TAB}"));

TEST(TmuxKeys, MessageNamesTheKey)
{
    try {
        argsFor("{F13}");
        FAIL() << "no failure";
    } catch (const KeySenderFailed& failure) {
        EXPECT_THAT(failure.what(), ::testing::HasSubstr("{F13}"));
    }
}

} // namespace
} // namespace vt::multiplexer
