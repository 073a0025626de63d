#include "platform/multiplexer/screen_keys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt::multiplexer {
namespace {

std::string stuffFor(std::string_view notation)
{
    return screenStuffText(parseKeystrokes(notation));
}

TEST(ScreenKeys, TextStaysAsItIsButItsEscapesAreEscaped)
{
    EXPECT_EQ(stuffFor("say §cBye Grüße €5 中文 -t ; 'q' \"q\"~"), "say §cBye Grüße €5 中文 -t ; 'q' \"q\"\\015");
    EXPECT_EQ(stuffFor("{^}C \\ $HOME \\015"), "\\^C \\\\ \\$HOME \\\\015");
}

TEST(ScreenKeys, ControlCharactersInTextGoAsOctal)
{
    EXPECT_EQ(screenStuffText({KeyAction{U'\t', {}}, KeyAction{U'\x7f', {}}, KeyAction{U'\x1b', {}}}),
              "\\011\\177\\033");
}

struct KeyCase {
    const char* notation;
    const char* stuff;
};

class ScreenKeyBytes : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ScreenKeyBytes, KeyBecomesTheBytesATerminalSends)
{
    EXPECT_EQ(stuffFor(GetParam().notation), GetParam().stuff);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScreenKeyBytes,
    ::testing::Values(KeyCase{"{ENTER}", "\\015"}, KeyCase{"{TAB}", "\\011"}, KeyCase{"{BS}", "\\177"},
                      KeyCase{"{ESC}", "\\033"}, KeyCase{"{UP}", "\\033[A"}, KeyCase{"{DOWN}", "\\033[B"},
                      KeyCase{"{RIGHT}", "\\033[C"}, KeyCase{"{LEFT}", "\\033[D"}, KeyCase{"{HOME}", "\\033[1~"},
                      KeyCase{"{INSERT}", "\\033[2~"}, KeyCase{"{DELETE}", "\\033[3~"}, KeyCase{"{END}", "\\033[4~"},
                      KeyCase{"{PGUP}", "\\033[5~"}, KeyCase{"{PGDN}", "\\033[6~"}, KeyCase{"{F1}", "\\033OP"},
                      KeyCase{"{F4}", "\\033OS"}, KeyCase{"{F5}", "\\033[15~"}, KeyCase{"{F10}", "\\033[21~"},
                      KeyCase{"{F11}", "\\033[23~"}, KeyCase{"{F12}", "\\033[24~"}, KeyCase{"^c", "\\003"},
                      KeyCase{"^C", "\\003"}, KeyCase{"^{[}", "\\033"}, KeyCase{"^?", "\\177"}, KeyCase{"%x", "\\033x"},
                      KeyCase{"%{$}", "\\033\\$"}, KeyCase{"^%d", "\\033\\004"}, KeyCase{"+{TAB}", "\\033[Z"},
                      KeyCase{"%{F5}", "\\033\\033[15~"}, KeyCase{"+a", "A"}));

class ScreenUnsendable : public ::testing::TestWithParam<const char*> {};

TEST_P(ScreenUnsendable, KeyScreenCannotSendFailsTheWholeStep)
{
    EXPECT_THROW(stuffFor(std::string("say hi") + GetParam()), KeySenderFailed);
}

INSTANTIATE_TEST_SUITE_P(Keys, ScreenUnsendable,
                         ::testing::Values("{F13}", "{BREAK}", "{CAPSLOCK}", "{NUMLOCK}", "{PRTSC}", "{SCROLLLOCK}",
                                           "{HELP}", "^@", "^1", "^é", "+1", "+{UP}", "^{LEFT}", "^{ENTER}"));

TEST(ScreenKeys, StepLongerThanScreenTakesIsRefusedAndOneAtTheLimitIsNot)
{
    EXPECT_EQ(stuffFor(std::string(kMaxStuffBytes, 'x')).size(), kMaxStuffBytes);
    EXPECT_THROW(stuffFor(std::string(kMaxStuffBytes + 1, 'x')), KeySenderFailed);
    // The limit counts the escaped form, as screen receives it.
    EXPECT_THROW(stuffFor(std::string(kMaxStuffBytes / 2 + 1, '$')), KeySenderFailed);
}

} // namespace
} // namespace vt::multiplexer
