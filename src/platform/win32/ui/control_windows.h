#pragma once

#include <windows.h>

#include "platform/ui/controls.h"
#include "platform/ui/screen_scale.h"
#include "platform/win32/ui/gdi_cache.h"

namespace vt::win32 {

// The native window of one control.
struct ControlWindow {
    Control* control = nullptr;
    HWND window = nullptr;
    HWND caption = nullptr; // a frame's caption, a window of its own so that it can be red
    int id = 0;
};

ControlWindow createControlWindow(HWND parent, Control& control, int id, const ScreenScale& scale, GdiCache& gdi);

// Puts the model's state on the native control: text, value, enabled, visible.
void showControlState(const ControlWindow& native);

// The text of a window, as UTF-8.
std::string windowText(HWND window);

} // namespace vt::win32
