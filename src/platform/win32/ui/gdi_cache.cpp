#include "platform/win32/ui/gdi_cache.h"

#include <cmath>

namespace vt::win32 {

GdiCache::~GdiCache()
{
    for (const auto& [key, font] : fonts_)
        DeleteObject(font);
    for (const auto& [key, brush] : brushes_)
        DeleteObject(brush);
}

HFONT GdiCache::font(double points, bool bold)
{
    const int height = -static_cast<int>(std::lround(points * dpi_ / 72.0));
    const auto key = std::make_tuple(height, bold);
    if (const auto found = fonts_.find(key); found != fonts_.end())
        return found->second;
    // The face the windows were designed with; the system substitutes its
    // TrueType successor where the old bitmap face is missing.
    HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             L"MS Sans Serif");
    fonts_[key] = font;
    return font;
}

HBRUSH GdiCache::brush(Color color)
{
    const COLORREF key = colorRef(color);
    if (const auto found = brushes_.find(key); found != brushes_.end())
        return found->second;
    HBRUSH brush = CreateSolidBrush(key);
    brushes_[key] = brush;
    return brush;
}

} // namespace vt::win32
