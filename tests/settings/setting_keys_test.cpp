// The key table against the one the program's users rely on: every key's
// name, encoding and default, written out here on its own, not taken from
// the code.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/failures.h"
#include "settings/setting_keys.h"

namespace vt {
namespace {

struct ExpectedKey {
    const char* name;
    Encoding encoding;
    const char* defaultText;
};

constexpr ExpectedKey kExpected[] = {
    {"MAIN-Left", Encoding::Twips, "1000"},
    {"MAIN-Top", Encoding::Twips, "1000"},
    {"MAIN-Width", Encoding::Twips, "10575"},
    {"MAIN-Height", Encoding::Twips, "2295"},
    {"AUTOSTART_SHUTDOWN_TICKBOX", Encoding::Tick, "0"},
    {"AUTOSTART_RESTART_TICKBOX", Encoding::Tick, "0"},
    {"AUTOCLOSE_TICKBOX", Encoding::Tick, "0"},
    {"WINDOW_NAME_TEXTBOX", Encoding::Text, ""},
    {"SERVER_NAME_TEXTBOX", Encoding::Text, ""},
    {"THREE_MIN_MESSAGE_TEXTBOX", Encoding::Text, ""},
    {"TWO_MIN_MESSAGE_TEXTBOX", Encoding::Text, ""},
    {"ONE_MIN_MESSAGE_TEXTBOX", Encoding::Text, ""},
    {"SHUTDOWN_RESTART_MESSAGE_TEXTBOX", Encoding::Text, ""},
    {"ABOUT-Left", Encoding::Twips, "1000"},
    {"ABOUT-Top", Encoding::Twips, "1000"},
    {"ABOUT-Width", Encoding::Twips, "7455"},
    {"ABOUT-Height", Encoding::Twips, "4185"},
    {"MESSAGE-SETTINGS-Left", Encoding::Twips, "1000"},
    {"MESSAGE-SETTINGS-Top", Encoding::Twips, "1000"},
    {"MESSAGE-SETTINGS-Width", Encoding::Twips, "8640"},
    {"MESSAGE-SETTINGS-Height", Encoding::Twips, "5745"},
};

const SettingKey* findKey(std::string_view name)
{
    for (const SettingKey* key : kAllSettingKeys)
        if (key->name == name)
            return key;
    return nullptr;
}

TEST(SettingKeys, AreExactlyTheTwentyOneKeysWithTheirEncodingsAndDefaults)
{
    ASSERT_EQ(kAllSettingKeys.size(), std::size(kExpected));
    std::set<std::string_view> names;
    for (const SettingKey* key : kAllSettingKeys)
        EXPECT_TRUE(names.insert(key->name).second) << key->name << " appears twice";
    for (const ExpectedKey& expected : kExpected) {
        const SettingKey* key = findKey(expected.name);
        ASSERT_NE(key, nullptr) << "no key named " << expected.name;
        EXPECT_EQ(key->encoding, expected.encoding) << expected.name;
        EXPECT_EQ(key->defaultText, expected.defaultText) << expected.name;
    }
}

TEST(SettingKeys, NumbersAreWrittenSoTheyReadBackToTheSameValue)
{
    for (float twips : {1000.0f, 10575.0f, -300.0f, 2500.5f, 0.1f, 1234.567f, 3.4e38f})
        EXPECT_EQ(parseTwips(formatTwips(twips)), twips) << formatTwips(twips);
    EXPECT_EQ(formatTwips(1000.0f), "1000");
    EXPECT_EQ(formatTick(1), "1");
}

TEST(SettingKeys, TextThatIsNoNumberOrTickIsRefused)
{
    for (const char* text : {"", "abc", "12px", "1e40", "nan", "inf", "1,5"})
        EXPECT_THROW(parseTwips(text), BadStoredValue) << text;
    for (const char* text : {"", "2", "-1", "yes", "1.0", "65536"})
        EXPECT_THROW(parseTick(text), BadStoredValue) << text;
    EXPECT_EQ(parseTwips(" 1000 "), 1000.0f) << "blanks around a number are forgiven";
}

} // namespace
} // namespace vt
