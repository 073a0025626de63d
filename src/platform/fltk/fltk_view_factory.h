#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/fltk/fltk_form_view.h"
#include "platform/ui/view.h"

class Fl_RGB_Image;

namespace vt {
class EventLoop;
}

namespace vt::fltk {

// Draws the program's icon at a size: size * size pixels, 0xAARRGGBB, rows
// from the top. The program hands it in; the views know no program.
using IconPainter = std::function<std::vector<std::uint32_t>(int size)>;

// Creates the FLTK windows of the forms. Needs the display open
// (openFltkDisplay); the main window, the one without an owner, shows the
// loop's failure reports.
class FltkViewFactory : public ViewFactory {
public:
    FltkViewFactory(EventLoop& loop, const IconPainter& icon);
    ~FltkViewFactory() override;

    std::unique_ptr<FormView> createView(Form& form, Form* owner) override;
    const ScreenScale& scale() const { return settings_.scale; }

private:
    Reports& reports_;
    std::vector<std::vector<unsigned char>> iconBytes_;
    std::vector<std::unique_ptr<Fl_RGB_Image>> iconImages_;
    ViewSettings settings_;
};

} // namespace vt::fltk
