#include "platform/win32/ui/control_windows.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

struct NativeKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

NativeKind nativeKindOf(const Control& control)
{
    const Look& look = control.look();
    switch (control.kind()) {
    case ControlKind::CommandButton:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0};
    case ControlKind::TickBox:
        // The model toggles the value; the box only shows it.
        return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX | BS_NOTIFY, 0};
    case ControlKind::Label:
        // SS_NOPREFIX: a label shows an "&" in a server name as it is.
        return {L"STATIC",
                static_cast<DWORD>(SS_NOTIFY | SS_NOPREFIX |
                                   (look.alignment == Alignment::Center ? SS_CENTER : SS_LEFT) |
                                   (look.border ? WS_BORDER : 0)),
                0};
    case ControlKind::TextBox: {
        const auto& textBox = static_cast<const TextBox&>(control);
        DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
        if (textBox.multiLine())
            style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
        if (textBox.readOnly())
            style |= ES_READONLY;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Line:
        return {L"STATIC", SS_BLACKRECT, 0};
    }
    return {L"STATIC", 0, 0};
}

std::string modelText(const Control& control)
{
    switch (control.kind()) {
    case ControlKind::CommandButton:
        return static_cast<const CommandButton&>(control).caption();
    case ControlKind::TickBox:
        return static_cast<const TickBox&>(control).caption();
    case ControlKind::Label:
        return static_cast<const Label&>(control).caption();
    case ControlKind::TextBox:
        return static_cast<const TextBox&>(control).text();
    default:
        return {};
    }
}

// A line is one pixel thick, whichever way it runs.
PixelBox lineBox(const Line& line, const ScreenScale& scale)
{
    const int x1 = scale.pixels(line.x1());
    const int y1 = scale.pixels(line.y1());
    const int x2 = scale.pixels(line.x2());
    const int y2 = scale.pixels(line.y2());
    return PixelBox{std::min(x1, x2), std::min(y1, y2), std::max(1, std::abs(x2 - x1)), std::max(1, std::abs(y2 - y1))};
}

HWND createFrameCaption(HWND parent, const Frame& frame, const PixelBox& box, const ScreenScale& scale, HFONT font)
{
    const std::wstring text = L" " + toWide(displayCaption(frame.caption())) + L" ";
    HDC dc = GetDC(parent);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(parent, dc);
    HWND caption = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX,
                                   box.x + scale.pixels(120), box.y, size.cx, size.cy, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return caption;
}

int textWidth(HWND window, HFONT font, const std::wstring& text)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

// The look's font; for a button or tickbox whose caption would not fit in
// its box with the face this system has, the same face a little smaller, so
// that "SHUTDOWN NOW" never shows as "HUTDOWN NO".
HFONT fittingFont(HWND window, const Control& control, const PixelBox& box, GdiCache& gdi)
{
    const Look& look = control.look();
    HFONT font = gdi.font(look.fontPoints, look.bold);
    const bool button = control.kind() == ControlKind::CommandButton;
    if (!button && control.kind() != ControlKind::TickBox)
        return font;
    std::wstring text = toWide(displayCaption(modelText(control)));
    // Room for the button's edges, or the tick square in front of the caption.
    const int room = box.width - (button ? 8 : GetSystemMetrics(SM_CXMENUCHECK) + 6);
    for (double points = look.fontPoints; points > 6.0 && textWidth(window, font, text) > room; points -= 0.5)
        font = gdi.font(points - 0.5, look.bold);
    return font;
}

} // namespace

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(0, length)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return toUtf8(text);
}

ControlWindow createControlWindow(HWND parent, Control& control, int id, const ScreenScale& scale, GdiCache& gdi)
{
    const NativeKind kind = nativeKindOf(control);
    const PixelBox box = control.kind() == ControlKind::Line ? lineBox(static_cast<Line&>(control), scale)
                                                             : scale.controlBox(control.rect());
    ControlWindow native;
    native.control = &control;
    native.id = id;
    native.window =
        CreateWindowExW(kind.exStyle, kind.className, toWide(modelText(control)).c_str(),
                        WS_CHILD | WS_CLIPSIBLINGS | kind.style, box.x, box.y, box.width, box.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    HFONT font = fittingFont(native.window, control, box, gdi);
    SendMessageW(native.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.kind() == ControlKind::Frame) {
        native.caption = createFrameCaption(parent, static_cast<Frame&>(control), box, scale, font);
        // The frame lies behind the controls inside it.
        SetWindowPos(native.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    showControlState(native);
    return native;
}

void showControlState(const ControlWindow& native)
{
    const Control& control = *native.control;
    const std::string text = modelText(control);
    const bool hasText = control.kind() != ControlKind::Frame && control.kind() != ControlKind::Line;
    // Only a real change: setting an edit's text raises EN_CHANGE and moves its caret.
    if (hasText && windowText(native.window) != text)
        SetWindowTextW(native.window, toWide(text).c_str());
    if (control.kind() == ControlKind::TickBox) {
        const bool ticked = static_cast<const TickBox&>(control).value() == 1;
        SendMessageW(native.window, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    EnableWindow(native.window, control.enabled());
    ShowWindow(native.window, control.visible() ? SW_SHOWNA : SW_HIDE);
    if (native.caption) {
        EnableWindow(native.caption, control.enabled());
        ShowWindow(native.caption, control.visible() ? SW_SHOWNA : SW_HIDE);
    }
}

} // namespace vt::win32
