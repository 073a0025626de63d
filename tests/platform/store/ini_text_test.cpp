#include "platform/failures.h"
#include "platform/store/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace vt {
namespace {

const std::string kSource = "/home/op/.config/VT_HALTWARD/settings.ini";

IniText reparse(const IniText& ini)
{
    return IniText::parse(ini.format(), kSource);
}

struct ValueCase {
    std::string text;
    std::string written; // the key's line in the file
};

// Plain text is written as it is; only what would not read back is escaped.
TEST(IniText, ValuesRoundTripEscapingOnlyWhatNeedsIt)
{
    const ValueCase cases[] = {
        {"", "K="},
        {"plain text", "K=plain text"},
        {"a=b==c", "K=a=b==c"},
        {"C:\\servers\\spigot", "K=C:\\\\servers\\\\spigot"},
        {"ends in backslash\\", "K=ends in backslash\\\\"},
        {"\\s is not a blank", "K=\\\\s is not a blank"},
        {"two\nlines", "K=two\\nlines"},
        {"crlf\r\nand lone\rcr", "K=crlf\\r\\nand lone\\rcr"},
        {"  two leading", "K=\\s\\stwo leading"},
        {"trailing \t", "K=trailing\\s\\t"},
        {"\tboth ", "K=\\tboth\\s"},
        {"   ", "K=\\s\\s\\s"},
        {"in  side\tblanks", "K=in  side\tblanks"},
        {"say § ~ {ENTER} é 日本 🙂", "K=say § ~ {ENTER} é 日本 🙂"},
        {"[not a section]", "K=[not a section]"},
        {"# not a comment ; either", "K=# not a comment ; either"},
        {"\"quoted\" 'single'", "K=\"quoted\" 'single'"},
        {" \n ", "K=\\s\\n\\s"},
    };
    for (const auto& c : cases) {
        IniText ini;
        ini.set("vt-haltward", "K", c.text);
        EXPECT_EQ(ini.format(), "[vt-haltward]\n" + c.written + "\n") << c.written;
        const auto reparsed = reparse(ini);
        const auto* back = reparsed.find("vt-haltward", "K");
        ASSERT_NE(back, nullptr) << c.written;
        EXPECT_EQ(*back, c.text) << c.written;
    }
}

TEST(IniText, SectionNamesRoundTrip)
{
    const std::string names[] = {"vt-haltward", "server copy (2)", "odd]name[", " padded\t", "back\\slash",
                                 "new\nline",   "#hash",           ";semi",     "=",         ""};
    IniText ini;
    for (const auto& name : names) {
        ini.set(name, "KEY", "value of " + name);
    }
    const auto back = reparse(ini);
    for (const auto& name : names) {
        const auto* value = back.find(name, "KEY");
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(*value, "value of " + name);
    }
}

TEST(IniText, SectionsAndKeysAreKeptApart)
{
    IniText ini;
    ini.set("server1", "MAIN-Left", "100");
    ini.set("server2", "MAIN-Left", "200");
    ini.set("server1", "MAIN-Top", "300");
    ini.set("server1", "MAIN-Left", "400");
    const auto back = reparse(ini);
    EXPECT_EQ(*back.find("server1", "MAIN-Left"), "400");
    EXPECT_EQ(*back.find("server1", "MAIN-Top"), "300");
    EXPECT_EQ(*back.find("server2", "MAIN-Left"), "200");
    EXPECT_EQ(back.find("server2", "MAIN-Top"), nullptr);
    EXPECT_EQ(back.find("server3", "MAIN-Left"), nullptr);
    EXPECT_EQ(back.find("server1", "main-left"), nullptr);
    EXPECT_EQ(ini.format(), "[server1]\nMAIN-Left=400\nMAIN-Top=300\n\n[server2]\nMAIN-Left=200\n");
}

// A file edited by hand keeps its comments and gaps; new keys go after the
// section's last key, new sections after a blank line.
TEST(IniText, RewriteKeepsCommentsAndLayout)
{
    const std::string text = "# written by hand\r\n"
                             "\n"
                             "  [ server1 ]  \n"
                             "; positions in twips\n"
                             "  MAIN-Left =  1000  \n"
                             "\n"
                             "[server2]\n"
                             "MAIN-Top=5\n";
    auto ini = IniText::parse(text, kSource);
    EXPECT_EQ(*ini.find("server1", "MAIN-Left"), "1000");
    ini.set("server1", "MAIN-Left", "2000");
    ini.set("server1", "MAIN-Top", "3000");
    ini.set("server3", "AUTOCLOSE_TICKBOX", "1");
    EXPECT_EQ(ini.format(), "# written by hand\r\n"
                            "\n"
                            "[server1]\n"
                            "; positions in twips\n"
                            "MAIN-Left=2000\n"
                            "MAIN-Top=3000\n"
                            "\n"
                            "[server2]\n"
                            "MAIN-Top=5\n"
                            "\n"
                            "[server3]\n"
                            "AUTOCLOSE_TICKBOX=1\n");
}

TEST(IniText, AcceptsByteOrderMarkCrLfAndNoFinalNewline)
{
    const auto ini = IniText::parse("\xEF\xBB\xBF[s]\r\nA=1\r\nB= x\\s", kSource);
    EXPECT_EQ(*ini.find("s", "A"), "1");
    EXPECT_EQ(*ini.find("s", "B"), "x ");
    EXPECT_EQ(IniText::parse("", kSource).format(), "");
}

struct BadFile {
    std::string text;
    int line;
    std::string why;
};

TEST(IniText, UnreadableLinesAreReportedWithPathAndLine)
{
    const BadFile cases[] = {
        {"MAIN-Left=1\n", 1, "before any [section]"},
        {"[s]\nA=1\njust words\n", 3, "expected [section], KEY=value"},
        {"[s\n", 1, "section header"},
        {"[s] extra\n", 1, "section header"},
        {"[s]\nA=1\nA=2\n", 3, "key A is given a second time"},
        {"[s]\n[t]\n[s]\n", 3, "section [s] is given a second time"},
        {"[s]\nMAIN Left=1\n", 2, "'MAIN Left' is not a key name"},
        {"[s]\n=1\n", 2, "'' is not a key name"},
        {"[s]\nA=1\r\n\r\nB\\n=2\r\n", 4, "not a key name"},
        // Old Mac line endings: read as one line, the first line's comment
        // would hide every setting, and a header would hide the keys.
        {"# my server\r[s]\rAUTOSTART_SHUTDOWN_TICKBOX=1\r", 1, "old Mac line endings"},
        {"[s]\rA=1\r", 1, "old Mac line endings"},
        {"[s]\nA=1\n# note\rB=2\n", 3, "old Mac line endings"},
    };
    for (const auto& c : cases) {
        try {
            IniText::parse(c.text, kSource);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const StoreError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.find(kSource + " line " + std::to_string(c.line) + ": "), 0u) << message;
            EXPECT_NE(message.find(c.why), std::string::npos) << message;
            EXPECT_NE(message.find("; fix or remove the file"), std::string::npos) << message;
        }
    }
}

// A mistyped escape spoils its one value, not the file: the other keys read,
// that key reports why (with its line), and a rewrite keeps its line as written
// until the key itself is set.
TEST(IniText, UndecodableValueIsThatKeysProblemOnly)
{
    const std::string text = "[s]\nA=bad \\q escape\nB=fine\nC=trailing\\\nD=also\\ \n";
    auto ini = IniText::parse(text, kSource);
    EXPECT_EQ(*ini.find("s", "B"), "fine");
    EXPECT_EQ(ini.find("s", "A"), nullptr);
    ASSERT_NE(ini.badValue("s", "A"), nullptr);
    EXPECT_NE(ini.badValue("s", "A")->find("line 2: unknown escape '\\q'"), std::string::npos)
        << *ini.badValue("s", "A");
    EXPECT_NE(ini.badValue("s", "C")->find("line 4: a backslash ends the line"), std::string::npos);
    EXPECT_NE(ini.badValue("s", "D"), nullptr);
    EXPECT_EQ(ini.badValue("s", "B"), nullptr);
    ini.set("s", "B", "changed");
    EXPECT_EQ(ini.format(), "[s]\nA=bad \\q escape\nB=changed\nC=trailing\\\nD=also\\ \n");
    ini.set("s", "A", "good");
    EXPECT_EQ(*ini.find("s", "A"), "good");
    EXPECT_EQ(ini.badValue("s", "A"), nullptr);
}

// Comments and blank lines go back byte for byte, however many rewrites.
TEST(IniText, CommentsKeepEveryCarriageReturn)
{
    const std::string text = "# top\r\r\n[s]\r\n; note\r\n  \r\nA=1\r\n# end\r";
    std::string written = text;
    for (int rewrite = 0; rewrite < 3; ++rewrite) {
        auto ini = IniText::parse(written, kSource);
        ini.set("s", "A", std::to_string(rewrite));
        written = ini.format();
    }
    EXPECT_EQ(written, "# top\r\r\n[s]\n; note\r\n  \r\nA=2\n# end\r\n");
}

// Many sections and keys parse in time linear in the file: a file of 20,000
// sections would take minutes if each header were compared with every other.
TEST(IniText, ManySectionsAndKeysAllFound)
{
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
    // a string literal plus a std::string.
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text.append("[s").append(std::to_string(i)).append("]\nK=").append(std::to_string(i)).append("\n");
    for (int i = 0; i < 20000; ++i)
        text.append("K").append(std::to_string(i)).append("=").append(std::to_string(i)).append("\n");
    auto ini = IniText::parse(text, kSource);
    EXPECT_EQ(*ini.find("s0", "K"), "0");
    EXPECT_EQ(*ini.find("s19999", "K"), "19999");
    EXPECT_EQ(*ini.find("s19999", "K12345"), "12345");
    ini.set("s0", "NEW", "n");
    ini.set("s0", "K", "changed");
    const auto back = reparse(ini);
    EXPECT_EQ(*back.find("s0", "NEW"), "n");
    EXPECT_EQ(*back.find("s0", "K"), "changed");
    EXPECT_EQ(*back.find("s19999", "K19999"), "19999");
}

TEST(IniText, KeyNames)
{
    EXPECT_TRUE(IniText::isValidKey("MESSAGE-SETTINGS-Height"));
    EXPECT_TRUE(IniText::isValidKey("AUTOSTART_SHUTDOWN_TICKBOX"));
    EXPECT_TRUE(IniText::isValidKey("v1.2"));
    for (const char* bad : {"", "A B", "A=B", "#A", ";A", "[A]", "Ä", "A\n"}) {
        EXPECT_FALSE(IniText::isValidKey(bad)) << bad;
    }
}

} // namespace
} // namespace vt
