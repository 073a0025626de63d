#pragma once

#include <map>
#include <tuple>

#include <windows.h>

#include "platform/ui/geometry.h"

namespace vt::win32 {

// The fonts and brushes of one window, made once and freed with it.
class GdiCache {
public:
    explicit GdiCache(int dpi) : dpi_(dpi) {}
    ~GdiCache();
    GdiCache(const GdiCache&) = delete;
    GdiCache& operator=(const GdiCache&) = delete;

    HFONT font(double points, bool bold);
    HBRUSH brush(Color color);

private:
    int dpi_;
    std::map<std::tuple<int, bool>, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
};

inline COLORREF colorRef(Color color)
{
    return RGB(color.red, color.green, color.blue);
}

} // namespace vt::win32
