#include "platform/fltk/fltk_form_view.h"

#include <algorithm>

#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>

#include "platform/fltk/fltk_x11_hints.h"
#include "platform/ui/window_fit.h"

namespace vt::fltk {

namespace {

Fl_Color toFltk(Color color)
{
    return fl_rgb_color(color.red, color.green, color.blue);
}

Fl_Font fontOf(const Look& look)
{
    return look.bold ? FL_HELVETICA_BOLD : FL_HELVETICA;
}

// Controls are added in drawing order: frames and lines at the back, the
// rest in tab order, which FLTK's Tab navigation follows.
std::vector<Control*> drawingOrder(const Form& form)
{
    std::vector<Control*> order = form.controls();
    auto atBack = [](const Control* c) { return c->kind() == ControlKind::Frame || c->kind() == ControlKind::Line; };
    std::stable_sort(order.begin(), order.end(), [&](const Control* a, const Control* b) {
        if (atBack(a) != atBack(b))
            return atBack(a);
        return a->tabIndex() < b->tabIndex();
    });
    return order;
}

void styleText(Fl_Widget& widget, const Look& look, int fontPixels)
{
    widget.labelfont(fontOf(look));
    widget.labelsize(fontPixels);
    widget.labelcolor(look.hasForeground ? toFltk(look.foreground) : FL_FOREGROUND_COLOR);
    if (look.hasBackground)
        widget.color(toFltk(look.background));
}

void styleLabel(LabelWidget& widget, const Look& look)
{
    widget.box(look.border ? FL_THIN_DOWN_BOX : FL_FLAT_BOX);
    if (look.alignment == Alignment::Center)
        widget.align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    else
        widget.align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
}

void styleTextBox(TextBoxWidget& widget, const TextBox& textBox, int fontPixels)
{
    const Look& look = textBox.look();
    widget.textfont(fontOf(look));
    widget.textsize(fontPixels);
    widget.textcolor(look.hasForeground ? toFltk(look.foreground) : FL_FOREGROUND_COLOR);
    widget.color(look.hasBackground ? toFltk(look.background) : FL_BACKGROUND2_COLOR);
    widget.box(look.border || !textBox.readOnly() ? FL_DOWN_BOX : FL_FLAT_BOX);
}

std::vector<PixelBox> screenWorkAreas()
{
    std::vector<PixelBox> areas;
    for (int n = 0; n < Fl::screen_count(); ++n) {
        PixelBox area;
        Fl::screen_work_area(area.x, area.y, area.width, area.height, n);
        areas.push_back(area);
    }
    return areas;
}

// FLTK places a window by its client area, and a window manager adds its
// frame only when the window is mapped: the frame is taken to be the one the
// stored sizes allow for (a title bar and borders of 330 and 45 twips).
PixelBox reachableClientBox(const PixelBox& client, const ScreenScale& scale)
{
    const int border = scale.pixels(kFrameWidthTwips / 2);
    const int title = scale.pixels(kFrameHeightTwips - kFrameWidthTwips / 2);
    const PixelBox outer{client.x - border, client.y - title, client.width + 2 * border,
                         client.height + title + border};
    const std::vector<PixelBox> areas = screenWorkAreas();
    const PixelBox reachable = keepTitleBarReachable(outer, title, areas);
    return PixelBox{reachable.x + border, reachable.y + title, client.width, client.height};
}

} // namespace

FltkFormView::FltkFormView(Form& form, const ViewSettings& settings, FltkFormView* owner, Reports* reports)
    : form_(form), settings_(settings), owner_(owner), reports_(reports)
{
    const PixelBox box = placedBox();
    window_.reset(new FormWindow(box, *this));
    window_->copy_label(form_.caption().c_str());
    addWidgets();
    window_->end();
    window_->size_range(box.width, box.height, box.width, box.height);
    if (!settings_.icons.empty())
        window_->icons(const_cast<const Fl_RGB_Image**>(settings_.icons.data()),
                       static_cast<int>(settings_.icons.size()));
    // FLTK marks a non-modal window transient for another before mapping it,
    // which window managers read only then; the owner is set exactly below.
    if (owner_)
        window_->set_non_modal();
    applying_ = true;
    window_->show();
    applying_ = false;
    setWindowRole(*window_, owner_ ? &owner_->window() : nullptr, form_.style().minimizeBox);
    applyFocus();
    if (reports_) {
        reports_->onChange = [this] { showReport(); };
        showReport();
    }
}

FltkFormView::~FltkFormView()
{
    if (reports_)
        reports_->onChange = nullptr;
}

void FltkFormView::WindowDeleter::operator()(FormWindow* window) const
{
    // This may run inside one of the window's own callbacks (OK unloads its
    // dialog): hide it now and let FLTK delete it when the callback is over.
    window->detach();
    window->hide();
    Fl::delete_widget(window);
}

void FltkFormView::addWidgets()
{
    for (Control* control : drawingOrder(form_))
        addWidget(*control);
}

void FltkFormView::addWidget(Control& control)
{
    const ScreenScale& scale = settings_.scale;
    const PixelBox box = scale.controlBox(control.rect());
    const int fontPixels = scale.fontPixels(control.look().fontPoints);
    Fl_Widget* widget = nullptr;
    switch (control.kind()) {
    case ControlKind::CommandButton: {
        auto* button = new ButtonWidget(box, static_cast<CommandButton&>(control));
        // Buttons use the window's own font size.
        styleText(*button, control.look(), scale.fontPixels(form_.style().fontPoints));
        widget = button;
        break;
    }
    case ControlKind::TickBox: {
        auto* tickBox = new TickBoxWidget(box, static_cast<TickBox&>(control));
        styleText(*tickBox, control.look(), fontPixels);
        widget = tickBox;
        break;
    }
    case ControlKind::Label: {
        auto* label = new LabelWidget(box, static_cast<Label&>(control));
        styleLabel(*label, control.look());
        styleText(*label, control.look(), fontPixels);
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        auto& textBox = static_cast<TextBox&>(control);
        auto* input = new TextBoxWidget(box, textBox);
        styleTextBox(*input, textBox, fontPixels);
        widget = input;
        break;
    }
    case ControlKind::Frame:
        widget = new FrameWidget(box, static_cast<Frame&>(control), fontPixels);
        break;
    case ControlKind::Line: {
        const auto& line = static_cast<Line&>(control);
        widget = new LineWidget(box, (line.y2() > line.y1()) == (line.x2() >= line.x1()));
        break;
    }
    }
    // The window owns its children and deletes them with itself.
    window_->add(widget);
    widgets_.emplace_back(&control, widget);
    showControl(control, *widget);
}

Fl_Widget* FltkFormView::widgetFor(const Control& control) const
{
    for (const auto& [shown, widget] : widgets_)
        if (shown == &control)
            return widget;
    return nullptr;
}

void FltkFormView::showControl(const Control& control, Fl_Widget& widget)
{
    switch (control.kind()) {
    case ControlKind::CommandButton: {
        const auto& button = static_cast<const CommandButton&>(control);
        widget.copy_label(widgetLabel(displayCaption(button.caption())).c_str());
        static_cast<ButtonWidget&>(widget).setDefault(button.isDefault());
        break;
    }
    case ControlKind::TickBox:
        widget.copy_label(widgetLabel(displayCaption(static_cast<const TickBox&>(control).caption())).c_str());
        static_cast<TickBoxWidget&>(widget).showValue();
        break;
    case ControlKind::Label:
        // Labels show what they hold as it is: the server name or the status
        // line with an "&" in it must not lose it to access-key marking.
        widget.copy_label(widgetLabel(static_cast<const Label&>(control).caption()).c_str());
        break;
    case ControlKind::TextBox:
        static_cast<TextBoxWidget&>(widget).showText();
        break;
    case ControlKind::Frame:
    case ControlKind::Line:
        break;
    }
    if (control.enabled())
        widget.activate();
    else
        widget.deactivate();
    if (control.visible())
        widget.show();
    else
        widget.hide();
    widget.redraw();
}

void FltkFormView::controlChanged(const Control& control)
{
    if (Fl_Widget* widget = widgetFor(control)) {
        applying_ = true;
        showControl(control, *widget);
        applying_ = false;
    }
}

void FltkFormView::formChanged()
{
    if (form_.caption() != (window_->label() ? window_->label() : ""))
        window_->copy_label(form_.caption().c_str());
    applyPlacement();
}

// FLTK asks the window manager for static gravity: the position it sets and
// reports is the client area's. The stored Left and Top are taken the same
// way, so a position round-trips exactly under any window manager (without
// one, as in the tests, the client area is the whole window anyway).
void FltkFormView::applyPlacement()
{
    const PixelBox box = placedBox();
    if (box.x == window_->x() && box.y == window_->y() && box.width == window_->w() && box.height == window_->h())
        return;
    applying_ = true;
    window_->size_range(box.width, box.height, box.width, box.height);
    window_->resize(box.x, box.y, box.width, box.height);
    applying_ = false;
    // FLTK rewrites the frame hints when the size changes.
    setWindowRole(*window_, owner_ ? &owner_->window() : nullptr, form_.style().minimizeBox);
}

// The form's placement in pixels, taller by what a failure strip below the
// controls needs. A position that would leave the title bar out of reach (a
// screen since removed, an edit from outside) is replaced by the nearest one
// within reach, and the form takes that as the window's real position, which
// closing then stores.
PixelBox FltkFormView::placedBox()
{
    PixelBox box = settings_.scale.windowBox(form_.placement());
    box.height = std::max(box.height, stripFit().clientHeight);
    const PixelBox reachable = reachableClientBox(box, settings_.scale);
    if (reachable != box)
        form_.movedTo(settings_.scale.twips(reachable.x), settings_.scale.twips(reachable.y));
    return reachable;
}

void FltkFormView::focusChanged()
{
    applyFocus();
}

void FltkFormView::applyFocus()
{
    const Control* focused = form_.focused();
    Fl_Widget* widget = focused ? widgetFor(*focused) : nullptr;
    if (!widget || Fl::focus() == widget)
        return;
    applying_ = true;
    widget->take_focus();
    applying_ = false;
}

void FltkFormView::inputBlockedChanged()
{
    if (form_.acceptsInput())
        applyFocus();
    window_->redraw();
}

// The newest report, in a strip below the lowest control (red for a failure
// or bad news, grey for good news); the window grows to make room for it when
// it has to, and shrinks back when it goes. News leads with its own word.
void FltkFormView::showReport()
{
    const auto& report = reports_->current();
    std::string text;
    if (report)
        text = report->kind == Report::Kind::Failure ? "FAILED: " + report->message : report->message;
    window_->showBanner(text, !report || report->alarming(), stripFontPixels(), stripFit().top);
    applyPlacement();
}

int FltkFormView::stripFontPixels() const
{
    return settings_.scale.fontPixels(form_.style().fontPoints);
}

// Where the failure strip goes and how high the client area is with it; the
// stored height when none shows.
StripFit FltkFormView::stripFit() const
{
    const int height = settings_.scale.windowBox(form_.placement()).height;
    if (!reports_ || !reports_->current())
        return StripFit{height, height};
    return fitStripBelow(height, lowestShownControlBottom(form_, settings_.scale),
                         FormWindow::bannerHeight(stripFontPixels()));
}

void FltkFormView::clicked(Control& control)
{
    form_.click(control); // may unload the form and destroy this view
}

void FltkFormView::doubleClicked(Label& label)
{
    form_.doubleClick(label);
}

void FltkFormView::typed(TextBox& textBox, std::string text)
{
    form_.typeText(textBox, std::move(text));
}

void FltkFormView::focusArrived(Control& control)
{
    if (!applying_)
        form_.focusMovedTo(control);
}

void FltkFormView::enterPressed()
{
    form_.pressEnter();
}

void FltkFormView::closeRequested()
{
    form_.close();
}

void FltkFormView::windowMoved(int clientX, int clientY)
{
    if (applying_)
        return;
    const PixelBox placed = settings_.scale.windowBox(form_.placement());
    // Only a real move is reported: the stored twips would otherwise drift by
    // the rounding to whole pixels at every start.
    if (clientX != placed.x || clientY != placed.y)
        form_.movedTo(settings_.scale.twips(clientX), settings_.scale.twips(clientY));
}

void FltkFormView::windowFocused()
{
    if (form_.acceptsInput())
        applyFocus();
}

bool FltkFormView::acceptsInput() const
{
    return form_.acceptsInput();
}

} // namespace vt::fltk
