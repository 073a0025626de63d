#include "platform/ui/screen_scale.h"

#include <gtest/gtest.h>

#include <limits>

namespace vt {
namespace {

TEST(LogicalDpi, SnapsToQuarterStepsOfDesignResolution)
{
    const struct {
        double reported;
        double expected;
    } cases[] = {
        {96, 96},
        {100, 96},
        {90, 96},
        {110, 120},
        {120, 120},
        {144, 144},
        {150, 144},
        {192, 192},
        // Never smaller than designed, as desktop scaling never goes below 100 %.
        {72, 96},
        {60, 96},
        // Too small or too large to be real: the design resolution.
        {0, 96},
        {-5, 96},
        {20, 96},
        {5000, 96},
        {std::numeric_limits<double>::quiet_NaN(), 96},
        {std::numeric_limits<double>::infinity(), 96},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(logicalDpi(c.reported), c.expected) << "reported " << c.reported;
}

TEST(ScreenScale, ConvertsTwipsAndPointsAtItsResolution)
{
    const ScreenScale design(96);
    EXPECT_EQ(design.pixels(15), 1);
    EXPECT_EQ(design.pixels(1000), 67); // 66.67 rounds up
    EXPECT_EQ(design.pixels(-1000), -67);
    EXPECT_FLOAT_EQ(design.twips(67), 1005.f);
    EXPECT_EQ(design.fontPixels(8.25), 11);
    EXPECT_EQ(design.fontPixels(9.75), 13);
    EXPECT_EQ(design.fontPixels(12), 16);
    const ScreenScale larger(144);
    EXPECT_EQ(larger.pixels(1440), 144);
    EXPECT_FLOAT_EQ(larger.twips(144), 1440.f);
    EXPECT_EQ(larger.fontPixels(8.25), 17); // 16.5 rounds up
    EXPECT_EQ(ScreenScale(0).dpi(), 96);    // no resolution: the design one
}

TEST(ScreenScale, ControlBoxRoundsEdgesSoNeighboursTouch)
{
    const ScreenScale scale(120); // 12 twips per pixel
    // Two boxes that touch at 130 twips (10.83 px) must touch on screen too.
    const PixelBox left = scale.controlBox(Rect{7, 0, 123, 10});
    const PixelBox right = scale.controlBox(Rect{130, 0, 50, 10});
    EXPECT_EQ(left.x + left.width, right.x);
    // A line with no height still gets one pixel.
    EXPECT_EQ(scale.controlBox(Rect{240, 1080, 8160, 0}), (PixelBox{20, 90, 680, 1}));
}

TEST(ScreenScale, WindowBoxIsOuterPositionAndClientSize)
{
    const ScreenScale scale(96);
    // The main window's stored default shows the upper 1920 twips of its client area.
    EXPECT_EQ(scale.windowBox(Placement{1000, 1000, 10575, 2295}), (PixelBox{67, 67, 699, 128}));
    // The dialogs' defaults give their design client areas.
    EXPECT_EQ(scale.windowBox(Placement{0, 0, 8640, 5745}), (PixelBox{0, 0, 570, 358}));
    EXPECT_EQ(scale.windowBox(Placement{0, 0, 7455, 4185}), (PixelBox{0, 0, 491, 254}));
    // A stored size smaller than the frame still leaves a window to show.
    EXPECT_EQ(scale.windowBox(Placement{-150, 30, 10, 10}), (PixelBox{-10, 2, 1, 1}));
}

} // namespace
} // namespace vt
