#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "platform/ui/form.h"
#include "platform/ui/screen_scale.h"
#include "platform/ui/view.h"
#include "platform/ui/window_fit.h"
#include "platform/win32/ui/control_windows.h"
#include "platform/win32/ui/gdi_cache.h"

namespace vt::win32 {

// One form as a top-level window with native controls. It shows the model
// and passes the user's input to the form's user actions; it decides nothing.
class Win32FormView : public FormView {
public:
    // owner is the main window's view for a modal dialog, null for the main window.
    Win32FormView(Form& form, Win32FormView* owner);
    ~Win32FormView() override;
    Win32FormView(const Win32FormView&) = delete;
    Win32FormView& operator=(const Win32FormView&) = delete;

    void controlChanged(const Control& control) override;
    void formChanged() override;
    void focusChanged() override;
    void inputBlockedChanged() override;

    HWND window() const { return window_; }
    Form& form() const { return form_; }
    // Enter, from the message loop.
    void pressEnter();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code, HWND child);
    LRESULT colors(HDC dc, HWND child, bool edit);
    const ControlWindow* nativeOf(const Control& control) const;
    const ControlWindow* nativeOf(HWND child) const;
    void createControls();
    void applyPlacement();
    void focusModelControl();
    void showDefaultButton();
    void reportMove();
    void layoutReportStrip();
    int stripHeight() const;
    StripFit stripFit() const;
    void showReport();

    Form& form_;
    HWND ownerWindow_ = nullptr;
    HWND window_ = nullptr;
    ScreenScale scale_;
    std::unique_ptr<GdiCache> gdi_;
    std::vector<ControlWindow> controls_;
    HWND reportStrip_ = nullptr; // the main window's failure line
    bool updating_ = false;      // the view itself is changing controls: no user input
    bool positioning_ = false;   // the view itself is moving the window: not the user
};

} // namespace vt::win32
