#include "platform/ui/window_fit.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/vt_haltward_main.h"
#include "support/program_fixture.h"

namespace vt {
namespace {

constexpr int kTitle = 25;
const std::vector<PixelBox> kOneScreen{{0, 0, 1280, 1024}};
// Side by side, the right one lower and with a panel across its top.
const std::vector<PixelBox> kTwoScreens{{0, 0, 1280, 1024}, {1280, 230, 1920, 1050}};

PixelBox fit(PixelBox outer, const std::vector<PixelBox>& areas = kOneScreen)
{
    return keepTitleBarReachable(outer, kTitle, areas);
}

TEST(KeepTitleBarReachable, LeavesAWindowWhoseTitleBarCanBeGrabbed)
{
    const PixelBox cases[] = {
        {67, 67, 705, 153},    // the default place
        {0, 0, 705, 153},      // in the corner
        {1180, 900, 705, 153}, // mostly off to the right and bottom, 100 px of title left
        {-605, 999, 705, 153}, // mostly off to the left, title bar just above the bottom
        {1230, 500, 50, 40},   // narrower than the grab width, but wholly on
    };
    for (const PixelBox& outer : cases)
        EXPECT_EQ(fit(outer), outer) << outer.x << "," << outer.y;
}

TEST(KeepTitleBarReachable, PullsAWindowBackWhenItsTitleBarIsOutOfReach)
{
    const struct {
        PixelBox outer;
        PixelBox expected;
    } cases[] = {
        {{100, -10, 705, 153}, {100, 0, 705, 153}},       // title bar partly above the top
        {{100, 1000, 705, 153}, {100, 871, 705, 153}},    // only the title bar's top rows on
        {{1181, 300, 705, 153}, {575, 300, 705, 153}},    // 99 px of title left on the right
        {{-606, 300, 705, 153}, {0, 300, 705, 153}},      // and on the left
        {{30000, 30000, 705, 153}, {575, 871, 705, 153}}, // far off: wholly on, in the nearest corner
        {{-1000000, 40, 705, 153}, {0, 40, 705, 153}},    // only the off axis changes
    };
    for (const auto& c : cases)
        EXPECT_EQ(fit(c.outer), c.expected) << c.outer.x << "," << c.outer.y;
}

TEST(KeepTitleBarReachable, AWindowLargerThanTheScreenGoesToItsTopLeftCorner)
{
    EXPECT_EQ(fit({-50, -50, 2000, 1500}), (PixelBox{0, 0, 2000, 1500}));
}

TEST(KeepTitleBarReachable, ChoosesTheScreenTheWindowOverlapsMostOrLiesNearest)
{
    // On the second screen's panel: the title bar is under it, the window mostly on that screen.
    EXPECT_EQ(fit({1500, 200, 705, 153}, kTwoScreens), (PixelBox{1500, 230, 705, 153}));
    // Straddling both, more on the first: pulled onto the first.
    EXPECT_EQ(fit({1000, -40, 705, 153}, kTwoScreens), (PixelBox{575, 0, 705, 153}));
    // Below both, nearer the second.
    EXPECT_EQ(fit({2500, 1600, 705, 153}, kTwoScreens), (PixelBox{2495, 1127, 705, 153}));
    // Above both, nearer the first (the second starts lower).
    EXPECT_EQ(fit({1300, -500, 705, 153}, kTwoScreens), (PixelBox{575, 0, 705, 153}));
    // Wholly on the second screen: stays, although it is off the first.
    EXPECT_EQ(fit({2000, 600, 705, 153}, kTwoScreens), (PixelBox{2000, 600, 705, 153}));
}

TEST(KeepTitleBarReachable, WithoutScreensTheWindowStays)
{
    EXPECT_EQ(keepTitleBarReachable({-5000, -5000, 705, 153}, kTitle, {}), (PixelBox{-5000, -5000, 705, 153}));
}

TEST(FitStripBelow, GoesBelowTheLowestControlAndGrowsTheClientAreaWhenNeeded)
{
    // The main window at its stored default height: 7 px below the frame, a 17 px strip.
    EXPECT_EQ(fitStripBelow(128, 121, 17), (StripFit{121, 138}));
    // Room enough: at the bottom, the window unchanged.
    EXPECT_EQ(fitStripBelow(340, 121, 17), (StripFit{323, 340}));
    EXPECT_EQ(fitStripBelow(138, 121, 17), (StripFit{121, 138}));
}

using LowestShownControl = testing::ProgramTest;

TEST_F(LowestShownControl, IsTheMainWindowsFrameNotItsHiddenTextBoxes)
{
    auto& w = start();
    // NO_WARNINGS_FRAME ends at 1815 twips; the hidden text boxes reach 3735.
    EXPECT_EQ(lowestShownControlBottom(w, ScreenScale(96)), 121);
    EXPECT_EQ(lowestShownControlBottom(w, ScreenScale(192)), 242);
}

} // namespace
} // namespace vt
