#include "platform/fltk/fltk_view_factory.h"

#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>

#include "platform/ui/event_loop.h"

namespace vt::fltk {

namespace {

constexpr int kIconSizes[] = {16, 32, 48};

// FLTK takes the icon as RGBA bytes.
std::vector<unsigned char> rgbaBytes(const std::vector<std::uint32_t>& pixels)
{
    std::vector<unsigned char> bytes;
    for (std::uint32_t argb : pixels) {
        bytes.push_back(static_cast<unsigned char>(argb >> 16));
        bytes.push_back(static_cast<unsigned char>(argb >> 8));
        bytes.push_back(static_cast<unsigned char>(argb));
        bytes.push_back(static_cast<unsigned char>(argb >> 24));
    }
    return bytes;
}

// The windows were laid out for MS Sans Serif; Liberation Sans has Arial's
// narrow metrics, so the captions fit their boxes. Without it fontconfig
// picks its default sans face.
void chooseFaces()
{
    Fl::set_font(FL_HELVETICA, " Liberation Sans");
    Fl::set_font(FL_HELVETICA_BOLD, "BLiberation Sans");
}

double screenDpi()
{
    float horizontal = 0;
    float vertical = 0;
    Fl::screen_dpi(horizontal, vertical, 0);
    return logicalDpi(horizontal);
}

} // namespace

FltkViewFactory::FltkViewFactory(EventLoop& loop, const IconPainter& icon)
    : reports_(loop.reports()), settings_{ScreenScale(screenDpi()), {}}
{
    chooseFaces();
    for (int size : kIconSizes) {
        iconBytes_.push_back(rgbaBytes(icon(size)));
        iconImages_.push_back(std::make_unique<Fl_RGB_Image>(iconBytes_.back().data(), size, size, 4));
        settings_.icons.push_back(iconImages_.back().get());
    }
}

FltkViewFactory::~FltkViewFactory() = default;

std::unique_ptr<FormView> FltkViewFactory::createView(Form& form, Form* owner)
{
    auto* ownerView = owner ? dynamic_cast<FltkFormView*>(owner->view()) : nullptr;
    return std::make_unique<FltkFormView>(form, settings_, ownerView, owner ? nullptr : &reports_);
}

} // namespace vt::fltk
