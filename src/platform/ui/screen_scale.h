#pragma once

#include "platform/ui/form.h"
#include "platform/ui/geometry.h"

namespace vt {

// The windows are designed in twips (1/1440 inch) for a 96 DPI screen, where
// a pixel is 15 twips. Stored outer sizes include a frame of this size around
// the client area.
inline constexpr double kDesignDpi = 96.0;
inline constexpr int kFrameWidthTwips = 90;
inline constexpr int kFrameHeightTwips = 375;

// The resolution to draw at for what a screen reports. Reported values are
// often a little off (Xvfb says 100 DPI), so they snap to the nearest quarter
// step of 96 DPI, as desktop scaling does, and never below 96; nonsense falls
// back to 96.
double logicalDpi(double reportedDpi);

struct PixelBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// Converts design measures to the screen's pixels and back.
class ScreenScale {
public:
    explicit ScreenScale(double dpi);

    double dpi() const { return dpi_; }
    int pixels(double twips) const;
    float twips(int pixels) const;
    // A font size in points as a pixel height.
    int fontPixels(double points) const;

    // A control's box in the client area; edges are rounded, not sizes, so
    // neighbours that touch in twips touch on screen.
    PixelBox controlBox(const Rect& rect) const;
    // A window: the outer position, and the client size (outer size less the frame).
    PixelBox windowBox(const Placement& placement) const;

private:
    double dpi_;
};

} // namespace vt
