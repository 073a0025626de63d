#include "app/icon.h"

#include <cmath>

namespace vt {

namespace {

struct Rgba {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
};

constexpr Rgba kClear{};
constexpr Rgba kWhite{255, 255, 255, 1};
constexpr Rgba kSignRed{204, 20, 20, 1};

// Measures relative to the icon's size, from its centre.
constexpr double kRimApothem = 0.48;
constexpr double kFaceApothem = 0.41;
constexpr double kBarHalfWidth = 0.27;
constexpr double kBarHalfHeight = 0.075;
constexpr int kSamplesPerAxis = 4;

// A regular octagon with flat sides facing the axes.
bool insideOctagon(double x, double y, double apothem)
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    return ax <= apothem && ay <= apothem && ax + ay <= apothem * std::sqrt(2.0);
}

Rgba colourAt(double x, double y)
{
    if (std::fabs(x) <= kBarHalfWidth && std::fabs(y) <= kBarHalfHeight)
        return kWhite;
    if (insideOctagon(x, y, kFaceApothem))
        return kSignRed;
    if (insideOctagon(x, y, kRimApothem))
        return kWhite;
    return kClear;
}

std::uint32_t channel(double value)
{
    return static_cast<std::uint32_t>(std::lround(std::fmin(255.0, std::fmax(0.0, value))));
}

// Averages a grid of samples inside one pixel, so the edges are smooth at
// every size.
std::uint32_t pixelAt(int column, int row, int size)
{
    Rgba sum;
    for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
        for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
            const double x = (column + (sx + 0.5) / kSamplesPerAxis) / size - 0.5;
            const double y = (row + (sy + 0.5) / kSamplesPerAxis) / size - 0.5;
            const Rgba sample = colourAt(x, y);
            sum.red += sample.red * sample.alpha;
            sum.green += sample.green * sample.alpha;
            sum.blue += sample.blue * sample.alpha;
            sum.alpha += sample.alpha;
        }
    }
    if (sum.alpha == 0)
        return 0;
    const double coverage = sum.alpha / (kSamplesPerAxis * kSamplesPerAxis);
    return channel(coverage * 255) << 24 | channel(sum.red / sum.alpha) << 16 | channel(sum.green / sum.alpha) << 8 |
           channel(sum.blue / sum.alpha);
}

} // namespace

std::vector<std::uint32_t> iconPixels(int size)
{
    std::vector<std::uint32_t> pixels;
    if (size < 1)
        return pixels;
    pixels.reserve(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column)
            pixels.push_back(pixelAt(column, row, size));
    return pixels;
}

} // namespace vt
