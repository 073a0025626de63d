#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/link/console_link.h"

namespace vt {
namespace {

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
