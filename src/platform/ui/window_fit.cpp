#include "platform/ui/window_fit.h"

#include <algorithm>
#include <limits>

#include "platform/ui/controls.h"

namespace vt {

namespace {

int right(const PixelBox& box)
{
    return box.x + box.width;
}
int bottom(const PixelBox& box)
{
    return box.y + box.height;
}

// The length of [a0, a1) that lies in [b0, b1).
long overlap(int a0, int a1, int b0, int b1)
{
    return std::max(0L, static_cast<long>(std::min(a1, b1)) - std::max(a0, b0));
}

long overlapArea(const PixelBox& a, const PixelBox& b)
{
    return overlap(a.x, right(a), b.x, right(b)) * overlap(a.y, bottom(a), b.y, bottom(b));
}

// How far apart along one axis; 0 when the spans meet.
long gap(int a0, int a1, int b0, int b1)
{
    return std::max({0L, static_cast<long>(b0) - a1, static_cast<long>(a0) - b1});
}

long squaredDistance(const PixelBox& a, const PixelBox& b)
{
    const long dx = gap(a.x, right(a), b.x, right(b));
    const long dy = gap(a.y, bottom(a), b.y, bottom(b));
    return dx * dx + dy * dy;
}

bool titleBarOn(const PixelBox& outer, int titleHeight, const PixelBox& area)
{
    if (outer.y < area.y || outer.y + titleHeight > bottom(area))
        return false;
    const long needed = std::min(outer.width, kReachableTitleWidth);
    return overlap(outer.x, right(outer), area.x, right(area)) >= needed;
}

const PixelBox& nearest(const PixelBox& outer, std::span<const PixelBox> workAreas)
{
    const PixelBox* best = &workAreas.front();
    long bestOverlap = -1;
    long bestDistance = std::numeric_limits<long>::max();
    for (const PixelBox& area : workAreas) {
        const long shared = overlapArea(outer, area);
        const long distance = squaredDistance(outer, area);
        if (shared > bestOverlap || (shared == 0 && bestOverlap == 0 && distance < bestDistance)) {
            best = &area;
            bestOverlap = shared;
            bestDistance = distance;
        }
    }
    return *best;
}

// The start of a span of this length inside [low, low + room): as near to
// start as fits, at low when it does not fit.
int clampSpan(int start, int length, int low, int room)
{
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

PixelBox keepTitleBarReachable(const PixelBox& outer, int titleHeight, std::span<const PixelBox> workAreas)
{
    if (workAreas.empty())
        return outer;
    for (const PixelBox& area : workAreas)
        if (titleBarOn(outer, titleHeight, area))
            return outer;
    const PixelBox& area = nearest(outer, workAreas);
    PixelBox moved = outer;
    moved.x = clampSpan(outer.x, outer.width, area.x, area.width);
    moved.y = clampSpan(outer.y, outer.height, area.y, area.height);
    return moved;
}

StripFit fitStripBelow(int clientHeight, int lowestControlBottom, int stripHeight)
{
    const int top = std::max(clientHeight - stripHeight, lowestControlBottom);
    return StripFit{top, std::max(clientHeight, top + stripHeight)};
}

int lowestShownControlBottom(const Form& form, const ScreenScale& scale)
{
    int lowest = 0;
    for (const Control* control : form.controls())
        if (control->visible())
            lowest = std::max(lowest, bottom(scale.controlBox(control->rect())));
    return lowest;
}

} // namespace vt
