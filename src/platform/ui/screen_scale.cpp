#include "platform/ui/screen_scale.h"

#include <algorithm>
#include <cmath>

namespace vt {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kLowestDpi = 48.0;
constexpr double kHighestDpi = 480.0;
constexpr double kScaleStep = 0.25;

} // namespace

double logicalDpi(double reportedDpi)
{
    if (!std::isfinite(reportedDpi) || reportedDpi < kLowestDpi || reportedDpi > kHighestDpi)
        return kDesignDpi;
    const double steps = std::round(reportedDpi / kDesignDpi / kScaleStep);
    return std::max(1.0, steps * kScaleStep) * kDesignDpi;
}

ScreenScale::ScreenScale(double dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

int ScreenScale::pixels(double twips) const
{
    return static_cast<int>(std::lround(twips * dpi_ / kTwipsPerInch));
}

float ScreenScale::twips(int pixels) const
{
    return static_cast<float>(pixels * kTwipsPerInch / dpi_);
}

int ScreenScale::fontPixels(double points) const
{
    return std::max(1, static_cast<int>(std::lround(points * dpi_ / kPointsPerInch)));
}

PixelBox ScreenScale::controlBox(const Rect& rect) const
{
    const int x = pixels(rect.left);
    const int y = pixels(rect.top);
    const int right = pixels(rect.left + rect.width);
    const int bottom = pixels(rect.top + rect.height);
    return PixelBox{x, y, std::max(1, right - x), std::max(1, bottom - y)};
}

PixelBox ScreenScale::windowBox(const Placement& placement) const
{
    return PixelBox{pixels(placement.left), pixels(placement.top),
                    std::max(1, pixels(placement.width - kFrameWidthTwips)),
                    std::max(1, pixels(placement.height - kFrameHeightTwips))};
}

} // namespace vt
