#include "app/icon.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

std::uint32_t alpha(std::uint32_t argb) { return argb >> 24; }
std::uint32_t red(std::uint32_t argb) { return (argb >> 16) & 0xff; }
std::uint32_t green(std::uint32_t argb) { return (argb >> 8) & 0xff; }

std::uint32_t at(const std::vector<std::uint32_t>& pixels, int size, int x, int y)
{
    return pixels[static_cast<std::size_t>(y * size + x)];
}

TEST(IconPixels, DrawsAStopSignAtEverySize)
{
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const auto pixels = iconPixels(size);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
        // The octagon leaves the corners clear.
        for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
            EXPECT_EQ(alpha(at(pixels, size, x, y)), 0u);
        // The bar across the middle is opaque white.
        EXPECT_EQ(at(pixels, size, size / 2, size / 2), 0xffffffffu);
        // Above the bar the face is opaque red.
        const std::uint32_t face = at(pixels, size, size / 2, size * 3 / 10);
        EXPECT_EQ(alpha(face), 255u);
        EXPECT_GT(red(face), 150u);
        EXPECT_LT(green(face), 60u);
    }
}

TEST(IconPixels, SmoothsTheEdgesAndMirrorsLeftToRight)
{
    const int size = 48;
    const auto pixels = iconPixels(size);
    int partlyCovered = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint32_t a = alpha(at(pixels, size, x, y));
            partlyCovered += a > 0 && a < 255;
            EXPECT_EQ(at(pixels, size, x, y), at(pixels, size, size - 1 - x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(partlyCovered, 0);
}

TEST(IconPixels, NoPixelsForNoSize)
{
    EXPECT_TRUE(iconPixels(0).empty());
    EXPECT_TRUE(iconPixels(-3).empty());
    EXPECT_EQ(iconPixels(1).size(), 1u);
}

} // namespace
} // namespace vt
