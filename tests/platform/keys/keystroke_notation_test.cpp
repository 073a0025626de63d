#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt {
namespace {

struct GoodCase {
    std::string notation;
    std::string described;
};

std::vector<GoodCase> goodCases()
{
    std::vector<GoodCase> cases{
        {"", ""},
        {"say Server restarts in 3 minutes!", "say Server restarts in 3 minutes!"},
        {"\xC2\xA7"
         "cWarning \xC2\xA7"
         "lnow",
         "\xC2\xA7"
         "cWarning \xC2\xA7"
         "lnow"}, // §c colour codes
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xC3\xA4\xC3\xB6\xC3\xBC",
         "Gr\xC3\xBC\xC3\x9F"
         "e \xC3\xA4\xC3\xB6\xC3\xBC"},
        {"5 \xE2\x82\xAC", "5 \xE2\x82\xAC"},     // euro sign
        {"\xF0\x9F\x99\x82", "\xF0\x9F\x99\x82"}, // outside the BMP
        {"[x]", "[x]"},
        {"~", "{ENTER}"},
        {"stop~", "stop{ENTER}"},
        {"{ENTER}", "{ENTER}"},
        {"{enter}", "{ENTER}"},
        {"restart{Enter}", "restart{ENTER}"},
        {"{BS}{BKSP}{backspace}", "{BACKSPACE}{BACKSPACE}{BACKSPACE}"},
        {"{DEL}{Delete}", "{DELETE}{DELETE}"},
        {"{INS}{insert}", "{INSERT}{INSERT}"},
        {"{BREAK}{CAPSLOCK}{DOWN}{END}{ESC}{HELP}{HOME}{LEFT}", "{BREAK}{CAPSLOCK}{DOWN}{END}{ESC}{HELP}{HOME}{LEFT}"},
        {"{numlock}{pgdn}{PgUp}{prtsc}{right}{scrolllock}{tab}{up}",
         "{NUMLOCK}{PGDN}{PGUP}{PRTSC}{RIGHT}{SCROLLLOCK}{TAB}{UP}"},
        // Repeats
        {"{a 3}", "aaa"},
        {"{LEFT 2}", "{LEFT}{LEFT}"},
        {"{enter 2}", "{ENTER}{ENTER}"},
        {"{\xE2\x82\xAC 2}", "\xE2\x82\xAC\xE2\x82\xAC"},
        {"{~ 2}", "{~}{~}"},
        {"{} 2}", "{}}{}}"},
        {"{  2}", "  "},
        {"{x 007}", "xxxxxxx"},
        // Modifiers
        {"+a", "+a"},
        {"^c", "^c"},
        {"%f", "%f"},
        {"%^+a", "+^%a"},
        {"+^x", "+^x"},
        {"+{TAB}", "+{TAB}"},
        {"^~", "^{ENTER}"},
        {"+ ", "+ "},
        {"+{a 2}", "+a+a"},
        {"+(abc)d", "+a+b+cd"},
        {"^(a%(b)c)", "^a^%b^c"},
        {"(ab)", "ab"},
        {"()", ""},
        {"%{%}", "%{%}"},
        // Braced escapes
        {"{+}{^}{%}{~}{(}{)}{{}{}}", "{+}{^}{%}{~}{(}{)}{{}{}}"},
        {"{[}{]}", "[]"},
        {"{a}{ }", "a "},
    };
    for (int n = 1; n <= 16; ++n) {
        const std::string key = "{F" + std::to_string(n) + "}";
        cases.push_back({"{f" + std::to_string(n) + "}", key});
    }
    return cases;
}

TEST(KeystrokeNotation, ParsesGoodNotationAndDescribesItCanonically)
{
    for (const auto& [notation, described] : goodCases()) {
        SCOPED_TRACE(notation);
        const KeyActions actions = parseKeystrokes(notation);
        EXPECT_EQ(describe(actions), described);
        EXPECT_EQ(parseKeystrokes(describe(actions)), actions); // round trip
    }
}

TEST(KeystrokeNotation, ProducesTheExpectedActions)
{
    const Modifiers none;
    const Modifiers shift{.shift = true};
    const Modifiers controlAlt{.control = true, .alt = true};
    EXPECT_EQ(parseKeystrokes("a~"), (KeyActions{{U'a', none}, {NamedKey::Enter, none}}));
    EXPECT_EQ(parseKeystrokes("\xC3\xA4\xE2\x82\xAC"), (KeyActions{{U'\u00E4', none}, {U'\u20AC', none}}));
    EXPECT_EQ(parseKeystrokes("{~}"), (KeyActions{{U'~', none}}));
    EXPECT_EQ(parseKeystrokes("+(ab)c"), (KeyActions{{U'a', shift}, {U'b', shift}, {U'c', none}}));
    EXPECT_EQ(parseKeystrokes("^%{F16}"), (KeyActions{{NamedKey::F16, controlAlt}}));
    EXPECT_EQ(parseKeystrokes("{a 999}").size(), 999u);
}

struct BadCase {
    std::string notation;
    std::size_t position;
    std::string token;
};

TEST(KeystrokeNotation, RejectsBadNotationNamingPositionAndToken)
{
    const std::vector<BadCase> cases{
        {"say {ENTR}", 5, "{ENTR}"},
        {"{F0}", 1, "{F0}"},
        {"{F17}", 1, "{F17}"},
        {"{RETURN}", 1, "{RETURN}"},
        {"say {ENTER", 5, "{ENTER"},
        {"{", 1, "{"},
        {"a}b", 2, "}"},
        {"{}", 1, "{}"},
        {"x{}y}", 2, "{}"},
        {"ab(cd", 3, "("},
        {"a(b(c)", 2, "("},
        {"ab)c", 3, ")"},
        {"(a))", 4, ")"},
        {"say +", 5, "+"},
        {"x+^", 2, "+^"},
        {"(a+)", 3, "+"},
        {"+()", 1, "+()"},
        {"{a x}", 1, "{a x}"},
        {"{a }", 1, "{a }"},
        {"{a -1}", 1, "{a -1}"},
        {"{a 0}", 1, "{a 0}"},
        {"{a 1000}", 1, "{a 1000}"},
        {"{a 99999999999999999999999}", 1, "{a 99999999999999999999999}"},
        {"\xC3\xA4\xE2\x82\xAC{x", 3, "{x"}, // positions count code points, not bytes
        {"ab\xFF", 3, "\\xFF"},
        {"\xC3(", 1, "\\xC3"},
        {"a\xE2\x82", 2, "\\xE2\\x82"},
        {"\xC0\xAF", 1, "\\xC0\\xAF"},                   // overlong "/"
        {"\xED\xA0\x80", 1, "\\xED\\xA0\\x80"},          // surrogate
        {"\xF4\x90\x80\x80", 1, "\\xF4\\x90\\x80\\x80"}, // above U+10FFFF
        {"say hi\nstop", 7, "\\x0A"},                    // a raw line break would run "stop" as a command
        {"a\tb", 2, "\\x09"},
        {"{\r}", 1, "{\\x0D}"},
        {"{\x7F 2}", 1, "{\\x7F 2}"},
        {"\xC2\x85", 1, "\\xC2\\x85"}, // NEXT LINE, a C1 control
    };
    for (const auto& [notation, position, token] : cases) {
        SCOPED_TRACE(notation);
        try {
            parseKeystrokes(notation);
            ADD_FAILURE() << "accepted";
        } catch (const NotationError& error) {
            EXPECT_EQ(error.position(), position);
            EXPECT_EQ(error.token(), token);
        }
    }
}

TEST(KeystrokeNotation, ErrorMessageNamesPositionAndToken)
{
    try {
        parseKeystrokes("say hi{ENTR}");
        FAIL() << "accepted";
    } catch (const NotationError& error) {
        EXPECT_EQ(std::string(error.what()), "bad keystroke notation at position 7: '{ENTR}' (unknown key name)");
    }
}

// Repeats are capped per brace and in total: a stored text cannot make the
// program type (or hold in memory) more than 10,000 keys.
TEST(KeystrokeNotation, TenThousandKeysAtMost)
{
    std::string exactly;
    for (int i = 0; i < 10; ++i)
        exactly += "{a 999}";
    EXPECT_EQ(parseKeystrokes(exactly + std::string(10, 'b')).size(), 10000u);
    std::string over;
    for (int i = 0; i < 11; ++i)
        over += "{a 999}";
    try {
        parseKeystrokes(over);
        FAIL() << "accepted 10,989 keys";
    } catch (const NotationError& error) {
        EXPECT_EQ(error.position(), 71u) << "the brace that goes over";
        EXPECT_NE(std::string(error.what()).find("more than 10000 keys"), std::string::npos) << error.what();
    }
    EXPECT_THROW(parseKeystrokes(std::string(10001, 'x')), NotationError);
    EXPECT_THROW(parseKeystrokes(std::string(9999, 'x') + "{~ 2}"), NotationError);
}

// The message quotes about 40 characters of the offending text, however long it is.
TEST(KeystrokeNotation, ErrorQuotesAreCutShort)
{
    const std::string rest(5000, 'z');
    try {
        parseKeystrokes("say {" + rest);
        FAIL() << "accepted";
    } catch (const NotationError& error) {
        EXPECT_EQ(error.position(), 5u);
        EXPECT_EQ(error.token(), "{" + std::string(39, 'z') + "...");
        EXPECT_LT(std::string(error.what()).size(), 120u) << error.what();
    }
}

TEST(KeystrokeNotation, DescribeRoundTripsEveryKeyWithEveryModifier)
{
    std::vector<std::variant<char32_t, NamedKey>> keys{U'a', U' ', U'\u00A7', U'\U0001F642', U'[', U'{', U'}'};
    for (char32_t special : std::u32string(U"+^%~()"))
        keys.push_back(special);
    for (int k = 0; k <= static_cast<int>(NamedKey::F16); ++k)
        keys.push_back(static_cast<NamedKey>(k));

    KeyActions actions;
    for (const auto& key : keys) {
        for (int bits = 0; bits < 8; ++bits) {
            actions.push_back(
                {key, Modifiers{.shift = (bits & 1) != 0, .control = (bits & 2) != 0, .alt = (bits & 4) != 0}});
        }
    }
    EXPECT_EQ(parseKeystrokes(describe(actions)), actions);
}

} // namespace
} // namespace vt
