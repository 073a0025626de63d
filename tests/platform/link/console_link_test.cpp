#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/link/console_link.h"

namespace vt {
namespace {

// Remembers each step that reached typeStep.
class RecordingSender : public KeySender {
public:
    std::vector<std::vector<KeyChunk>> steps;

protected:
    void typeStep(const std::vector<KeyChunk>& step) override { steps.push_back(step); }
};

std::string describeStep(const std::vector<KeyChunk>& step)
{
    std::string text;
    for (const KeyChunk& chunk : step)
        text += describe(chunk.keys) + (chunk.wait ? "|W " : "|- ");
    return text;
}

TEST(KeySender, GathersAStepsCallsAndTypesThemAsOneUnit)
{
    RecordingSender sender;
    sender.sendKeys("say ", true);
    sender.sendKeys("", true); // nothing to type, no chunk
    sender.sendKeys("ok~", true);
    sender.sendKeys("{Enter}", false);
    EXPECT_TRUE(sender.steps.empty()) << "nothing is typed before the step is delivered";
    sender.deliver();
    sender.deliver(); // an empty step types nothing
    sender.sendKeys("stop~", true);
    sender.deliver();
    ASSERT_EQ(sender.steps.size(), 2u);
    EXPECT_EQ(describeStep(sender.steps[0]), "say |W ok{ENTER}|W {ENTER}|- ");
    EXPECT_EQ(describeStep(sender.steps[1]), "stop{ENTER}|W ");
    EXPECT_TRUE(stepWaits(sender.steps[0]));
    EXPECT_EQ(describe(keysOfStep(sender.steps[0])), "say ok{ENTER}{ENTER}");
}

TEST(KeySender, BadNotationAddsNothingToTheStep)
{
    RecordingSender sender;
    sender.sendKeys("say ", true);
    EXPECT_THROW(sender.sendKeys("stop{ENTR}", true), NotationError);
    sender.deliver();
    ASSERT_EQ(sender.steps.size(), 1u);
    EXPECT_EQ(describeStep(sender.steps[0]), "say |W ");
}

} // namespace
} // namespace vt
