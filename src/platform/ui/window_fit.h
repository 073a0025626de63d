#pragma once

#include <span>

#include "platform/ui/screen_scale.h"

namespace vt {

// Where a window goes when its stored position would leave it out of reach,
// and where the main window's failure strip goes. Pure arithmetic in screen
// pixels; the views supply their screens and measures.

// A title bar is within reach when its whole height and at least this much of
// its width (or all of it, when narrower) lie on one screen's work area:
// enough to drag it by, beside the buttons at its end.
inline constexpr int kReachableTitleWidth = 100;

// The outer box of a window whose title bar is the top titleHeight pixels of
// it. Unchanged when the title bar is within reach; otherwise moved, not
// resized, onto the nearest work area (the one it overlaps most, or the
// closest when it overlaps none): wholly onto it when it fits, else with its
// top left corner at the area's. With no work areas it stays where it is.
PixelBox keepTitleBarReachable(const PixelBox& outer, int titleHeight, std::span<const PixelBox> workAreas);

// The failure strip across the bottom of a client area of clientHeight
// pixels, stripHeight high, never over a control: it goes below the lowest
// control, at the bottom when there is room, and the client area grows when
// there is not.
struct StripFit {
    int top = 0;          // of the strip, in the client area
    int clientHeight = 0; // the client area's height with the strip shown
    friend bool operator==(const StripFit&, const StripFit&) = default;
};
StripFit fitStripBelow(int clientHeight, int lowestControlBottom, int stripHeight);

// The lowest bottom edge, in client pixels, of the form's visible controls.
int lowestShownControlBottom(const Form& form, const ScreenScale& scale);

} // namespace vt
