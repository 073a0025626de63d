#pragma once

#include <memory>
#include <vector>

#include "platform/fltk/fltk_form_view.h"
#include "platform/view.h"

class Fl_RGB_Image;

namespace vt {

class EventLoop;

// Creates the FLTK windows of the forms. Needs the display open
// (openFltkDisplay); the main window, the one without an owner, shows the
// loop's failure reports.
class FltkViewFactory : public ViewFactory {
public:
    explicit FltkViewFactory(EventLoop& loop);
    ~FltkViewFactory() override;

    std::unique_ptr<FormView> createView(Form& form, Form* owner) override;
    const ScreenScale& scale() const { return settings_.scale; }

private:
    Reports& reports_;
    std::vector<std::vector<unsigned char>> iconBytes_;
    std::vector<std::unique_ptr<Fl_RGB_Image>> iconImages_;
    ViewSettings settings_;
};

} // namespace vt
