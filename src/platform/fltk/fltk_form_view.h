#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/fltk/fltk_widgets.h"
#include "platform/ui/form.h"
#include "platform/ui/reports.h"
#include "platform/ui/screen_scale.h"
#include "platform/ui/view.h"
#include "platform/ui/window_fit.h"

class Fl_RGB_Image;

namespace vt::fltk {

struct ViewSettings {
    ScreenScale scale;
    std::vector<const Fl_RGB_Image*> icons;
};

// One form shown in an FLTK window: every control at its place, mirrored
// from the model, and the user's input passed to the form's user actions.
// The main window (no owner) also shows the current failure report.
class FltkFormView : public FormView, private InputListener {
public:
    FltkFormView(Form& form, const ViewSettings& settings, FltkFormView* owner, Reports* reports);
    ~FltkFormView() override;
    FltkFormView(const FltkFormView&) = delete;
    FltkFormView& operator=(const FltkFormView&) = delete;

    FormWindow& window() { return *window_; }

    void controlChanged(const Control& control) override;
    void formChanged() override;
    void focusChanged() override;
    void inputBlockedChanged() override;

private:
    struct WindowDeleter {
        void operator()(FormWindow* window) const;
    };

    void clicked(Control& control) override;
    void doubleClicked(Label& label) override;
    void typed(TextBox& textBox, std::string text) override;
    void focusArrived(Control& control) override;
    void enterPressed() override;
    void closeRequested() override;
    void windowMoved(int clientX, int clientY) override;
    void windowFocused() override;
    bool acceptsInput() const override;

    void addWidgets();
    void addWidget(Control& control);
    Fl_Widget* widgetFor(const Control& control) const;
    void showControl(const Control& control, Fl_Widget& widget);
    void applyPlacement();
    PixelBox placedBox();
    int stripFontPixels() const;
    StripFit stripFit() const;
    void applyFocus();
    void showReport();

    Form& form_;
    const ViewSettings& settings_;
    FltkFormView* owner_;
    Reports* reports_;
    std::unique_ptr<FormWindow, WindowDeleter> window_;
    std::vector<std::pair<const Control*, Fl_Widget*>> widgets_;
    // Set while the view changes widgets itself, so FLTK's echoes are not
    // taken for the user's doing.
    bool applying_ = false;
};

} // namespace vt::fltk
