#pragma once

#include <cstdint>

namespace vt {

// Positions and sizes in twips (1/1440 inch), relative to the client area of
// the control's window.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kBrightGreen{0, 255, 0};
inline constexpr Color kRed{255, 0, 0};

enum class Alignment { Left, Center };

// How a control is drawn. Views map the face to what the screen has; the size
// (in points) and the weight stay.
struct Look {
    double fontPoints = 8.25;
    bool bold = false;
    bool hasForeground = false;
    Color foreground{};
    bool hasBackground = false;
    Color background{};
    bool border = false;
    Alignment alignment = Alignment::Left;
};

inline constexpr Look kDefaultLook{};
inline constexpr Look boldLook(double points)
{
    Look look;
    look.fontPoints = points;
    look.bold = true;
    return look;
}

// Black box with a single-line border and bright green, bold, centred text.
inline constexpr Look displayLook(double points)
{
    Look look = boldLook(points);
    look.hasForeground = true;
    look.foreground = kBrightGreen;
    look.hasBackground = true;
    look.background = kBlack;
    look.border = true;
    look.alignment = Alignment::Center;
    return look;
}

} // namespace vt
