// The key table itself: the names and defaults the store is read with.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/failures.h"
#include "settings/setting_keys.h"

namespace vt {
namespace {

TEST(SettingKeys, NamesAreUniqueAndEveryDefaultReadsUnderItsEncoding)
{
    std::set<std::string_view> names;
    for (const SettingKey* key : kAllSettingKeys) {
        EXPECT_TRUE(names.insert(key->name).second) << key->name << " appears twice";
        if (key->encoding == Encoding::Twips) {
            EXPECT_NO_THROW(parseTwips(key->defaultText)) << key->name;
        } else if (key->encoding == Encoding::Tick) {
            EXPECT_EQ(parseTick(key->defaultText), 0) << key->name << ": every tick starts unticked";
        } else {
            EXPECT_EQ(key->defaultText, "") << key->name;
        }
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
