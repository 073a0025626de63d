#include "platform/fltk/fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

namespace vt::fltk {

std::string widgetLabel(const std::string& caption)
{
    std::string label;
    label.reserve(caption.size());
    for (char c : caption) {
        label += c;
        if (c == '@')
            label += '@'; // "@@" draws one "@"
    }
    return label;
}

InputListener* listenerOf(const Fl_Widget& widget)
{
    const auto* window = dynamic_cast<const FormWindow*>(widget.window());
    return window ? window->listener() : nullptr;
}

namespace {

// Tells the view where the focus went once FLTK has agreed to put it there.
int reportFocus(const Fl_Widget& widget, Control& control, int event, int used)
{
    if (event == FL_FOCUS && used)
        if (InputListener* listener = listenerOf(widget))
            listener->focusArrived(control);
    return used;
}

} // namespace

ButtonWidget::ButtonWidget(const PixelBox& box, CommandButton& button)
    : Fl_Button(box.x, box.y, box.width, box.height), button_(button)
{
    clear_flag(SHORTCUT_LABEL);
    callback(&ButtonWidget::onCallback);
}

void ButtonWidget::setDefault(bool isDefault)
{
    if (default_ == isDefault)
        return;
    default_ = isDefault;
    redraw();
}

int ButtonWidget::handle(int event)
{
    return reportFocus(*this, button_, event, Fl_Button::handle(event));
}

void ButtonWidget::draw()
{
    // A caption wider than the button is drawn a little smaller, the way the
    // original face would have fitted it.
    constexpr int kSmallestPixels = 8;
    constexpr int kInnerMargin = 6;
    const int designed = labelsize();
    int size = designed;
    fl_font(labelfont(), size);
    while (size > kSmallestPixels && label() && fl_width(label()) > w() - kInnerMargin)
        fl_font(labelfont(), --size);
    labelsize(size);
    Fl_Button::draw();
    labelsize(designed);
    if (!default_)
        return;
    fl_color(active_r() ? FL_BLACK : fl_inactive(FL_BLACK));
    fl_rect(x(), y(), w(), h());
}

void ButtonWidget::onCallback(Fl_Widget* widget, void*)
{
    auto* self = static_cast<ButtonWidget*>(widget);
    if (InputListener* listener = listenerOf(*self))
        listener->clicked(self->button_);
}

TickBoxWidget::TickBoxWidget(const PixelBox& box, TickBox& tickBox)
    : Fl_Check_Button(box.x, box.y, box.width, box.height), tickBox_(tickBox)
{
    clear_flag(SHORTCUT_LABEL);
    Fl_Check_Button::box(FL_FLAT_BOX); // repaints its background when greyed
    callback(&TickBoxWidget::onCallback);
}

int TickBoxWidget::handle(int event)
{
    return reportFocus(*this, tickBox_, event, Fl_Check_Button::handle(event));
}

void TickBoxWidget::showValue()
{
    value(tickBox_.value() != 0 ? 1 : 0);
}

void TickBoxWidget::onCallback(Fl_Widget* widget, void*)
{
    auto* self = static_cast<TickBoxWidget*>(widget);
    InputListener* listener = listenerOf(*self);
    if (!listener)
        return;
    // FLTK has already flipped the box; the form decides what it shows.
    listener->clicked(self->tickBox_);
    if (listenerOf(*self))
        self->showValue();
}

LabelWidget::LabelWidget(const PixelBox& box, Label& label) : Fl_Box(box.x, box.y, box.width, box.height), label_(label)
{
}

int LabelWidget::handle(int event)
{
    if (event != FL_PUSH)
        return Fl_Box::handle(event);
    if (Fl::event_clicks() > 0)
        if (InputListener* listener = listenerOf(*this))
            listener->doubleClicked(label_);
    return 1;
}

TextBoxWidget::TextBoxWidget(const PixelBox& box, TextBox& textBox)
    : Fl_Input(box.x, box.y, box.width, box.height), textBox_(textBox)
{
    if (textBox.readOnly())
        type(textBox.multiLine() ? FL_MULTILINE_OUTPUT_WRAP : FL_NORMAL_OUTPUT);
    else
        type(textBox.multiLine() ? FL_MULTILINE_INPUT_WRAP : FL_NORMAL_INPUT);
    when(FL_WHEN_CHANGED);
    callback(&TextBoxWidget::onCallback);
}

int TextBoxWidget::handle(int event)
{
    // A read-only box only shows its text; it takes neither focus nor clicks.
    if (textBox_.readOnly() && (event == FL_FOCUS || event == FL_PUSH || event == FL_KEYBOARD || event == FL_DRAG))
        return 0;
    return reportFocus(*this, textBox_, event, Fl_Input::handle(event));
}

void TextBoxWidget::showText()
{
    const char* shown = value();
    if (textBox_.text() != shown)
        value(textBox_.text().c_str(), static_cast<int>(textBox_.text().size()));
}

void TextBoxWidget::onCallback(Fl_Widget* widget, void*)
{
    auto* self = static_cast<TextBoxWidget*>(widget);
    InputListener* listener = listenerOf(*self);
    if (!listener)
        return;
    listener->typed(self->textBox_, std::string(self->value(), static_cast<std::size_t>(self->size())));
    if (listenerOf(*self))
        self->showText();
}

FrameWidget::FrameWidget(const PixelBox& box, const Frame& frame, int fontPixels)
    : Fl_Widget(box.x, box.y, box.width, box.height), caption_(displayCaption(frame.caption())),
      captionColor_(fl_rgb_color(frame.captionColor().red, frame.captionColor().green, frame.captionColor().blue))
{
    labelsize(fontPixels);
}

void FrameWidget::draw()
{
    const Fl_Color background = window() ? window()->color() : FL_BACKGROUND_COLOR;
    fl_rectf(x(), y(), w(), h(), background);
    fl_font(FL_HELVETICA, labelsize());
    // The etched line runs through the middle of the caption's height.
    const int lineTop = y() + fl_height() / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), lineTop, w(), h() - (lineTop - y()), background);
    const int captionLeft = x() + 8;
    const int captionWidth = static_cast<int>(fl_width(caption_.c_str())) + 4;
    fl_rectf(captionLeft - 2, y(), captionWidth, fl_height(), background);
    fl_color(active_r() ? captionColor_ : fl_inactive(captionColor_));
    fl_draw(caption_.c_str(), captionLeft, y() + fl_height() - fl_descent());
}

LineWidget::LineWidget(const PixelBox& box, bool falling)
    : Fl_Widget(box.x, box.y, box.width, box.height), falling_(falling)
{
}

void LineWidget::draw()
{
    fl_color(FL_BLACK);
    const int top = y();
    const int bottom = y() + h() - 1;
    fl_line(x(), falling_ ? top : bottom, x() + w() - 1, falling_ ? bottom : top);
}

FormWindow::FormWindow(const PixelBox& box, InputListener& listener)
    : Fl_Double_Window(box.x, box.y, box.width, box.height), listener_(&listener)
{
    callback(&FormWindow::onClose);
}

bool FormWindow::isUserInput(int event) const
{
    switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_MOUSEWHEEL:
    case FL_KEYBOARD:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
        return true;
    default:
        return false;
    }
}

int FormWindow::handle(int event)
{
    if (!listener_)
        return Fl_Double_Window::handle(event);
    // While a dialog it owns is open the form takes no input, but it keeps
    // drawing, so a running sequence stays visible.
    if (isUserInput(event) && !listener_->acceptsInput())
        return 1;
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && handleKey(event))
        return 1;
    if (event == FL_FOCUS) {
        // The window got the focus back: it goes to the control the form has focused.
        listener_->windowFocused();
        if (Fl::focus() && Fl::focus()->window() == this)
            return 1;
    }
    return Fl_Double_Window::handle(event);
}

int FormWindow::handleKey(int event)
{
    (void)event;
    const int key = Fl::event_key();
    const bool plain = (Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) == 0;
    if ((key == FL_Enter || key == FL_KP_Enter) && plain) {
        listener_->enterPressed();
        return 1;
    }
    // Escape closes nothing: these windows have no Cancel button.
    return key == FL_Escape ? 1 : 0;
}

void FormWindow::resize(int x, int y, int width, int height)
{
    const bool moved = x != this->x() || y != this->y();
    Fl_Double_Window::resize(x, y, width, height);
    if (moved && listener_)
        listener_->windowMoved(x, y);
}

void FormWindow::showBanner(std::string text, bool alarming, int fontPixels, int top)
{
    if (banner_ == text && bannerAlarming_ == alarming && bannerFontPixels_ == fontPixels && bannerTop_ == top)
        return;
    banner_ = std::move(text);
    bannerAlarming_ = alarming;
    bannerFontPixels_ = fontPixels;
    bannerTop_ = top;
    redraw();
}

int FormWindow::bannerHeight(int fontPixels)
{
    fl_font(FL_HELVETICA_BOLD, fontPixels);
    return fl_height() + 4;
}

void FormWindow::draw()
{
    Fl_Double_Window::draw();
    if (banner_.empty())
        return;
    // Drawn after the children, so a control that redraws alone cannot hide it;
    // the view puts it below the lowest control, so it hides none either.
    const int height = bannerHeight(bannerFontPixels_);
    fl_rectf(0, bannerTop_, w(), height, bannerAlarming_ ? fl_rgb_color(176, 0, 0) : fl_rgb_color(72, 72, 72));
    fl_color(FL_WHITE);
    fl_push_clip(4, bannerTop_, w() - 8, height);
    fl_draw(banner_.c_str(), 4, bannerTop_ + 2 + fl_height() - fl_descent());
    fl_pop_clip();
}

void FormWindow::onClose(Fl_Widget* widget, void*)
{
    auto* self = static_cast<FormWindow*>(widget);
    // Only the close box: FLTK also calls this for Escape, which closes nothing.
    if (Fl::event() == FL_CLOSE && self->listener_)
        self->listener_->closeRequested();
}

} // namespace vt::fltk
