#include "platform/ui/controls.h"

#include "platform/ui/form.h"

namespace vt {

Control::Control(Form& form, ControlKind kind, std::string name, Rect rect, int tabIndex, Look look)
    : form_(form), kind_(kind), name_(std::move(name)), rect_(rect), tabIndex_(tabIndex), look_(look)
{
    form_.registerControl(*this);
}

void Control::setEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    changed();
}

void Control::setVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    changed();
}

bool Control::canTakeFocus() const
{
    return focusable() && enabled_ && visible_;
}

void Control::changed()
{
    form_.controlChanged(*this);
}

std::string displayCaption(const std::string& caption)
{
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            shown += caption[i];
            continue;
        }
        // "&&" is a literal ampersand; a lone "&" marks the next letter as the
        // access key and is not shown.
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}

CommandButton::CommandButton(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Look look)
    : Control(form, ControlKind::CommandButton, std::move(name), rect, tabIndex, look), caption_(std::move(caption))
{
}

void CommandButton::setCaption(std::string caption)
{
    if (caption_ == caption)
        return;
    caption_ = std::move(caption);
    changed();
}

void CommandButton::setDefault(bool isDefault)
{
    default_ = isDefault;
    changed();
}

TickBox::TickBox(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Look look)
    : Control(form, ControlKind::TickBox, std::move(name), rect, tabIndex, look), caption_(std::move(caption))
{
}

void TickBox::setValue(std::int16_t value)
{
    if (value_ == value)
        return;
    value_ = value;
    changed();
    // Click runs nested in the assignment, before it returns; a disabled
    // tickbox raises nothing, whoever changes its value.
    if (enabled() && onClick)
        onClick();
}

void TickBox::toggle()
{
    setValue(value_ == 1 ? 0 : 1);
}

Label::Label(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Look look)
    : Control(form, ControlKind::Label, std::move(name), rect, tabIndex, look), caption_(std::move(caption))
{
}

void Label::setCaption(std::string caption)
{
    if (caption_ == caption)
        return;
    caption_ = std::move(caption);
    changed();
}

TextBox::TextBox(Form& form, std::string name, Rect rect, int tabIndex, std::string text, Look look, bool multiLine)
    : Control(form, ControlKind::TextBox, std::move(name), rect, tabIndex, look), text_(std::move(text)),
      multiLine_(multiLine)
{
}

void TextBox::setText(std::string text)
{
    if (text_ == text)
        return;
    text_ = std::move(text);
    changed();
}

Frame::Frame(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Color captionColor)
    : Control(form, ControlKind::Frame, std::move(name), rect, tabIndex, kDefaultLook), caption_(std::move(caption)),
      captionColor_(captionColor)
{
}

Line::Line(Form& form, std::string name, int x1, int y1, int x2, int y2)
    : Control(form, ControlKind::Line, std::move(name),
              Rect{x1, y1 < y2 ? y1 : y2, x2 - x1, y1 < y2 ? y2 - y1 : y1 - y2}, -1, kDefaultLook),
      y1_(y1), x2_(x2), y2_(y2)
{
}

Timer::Timer(Form& form, std::string name) : form_(form), name_(std::move(name))
{
    form_.registerTimer(*this);
}

Timer::~Timer()
{
    // Stop it first, so that the event loop forgets it before it is gone.
    enabled_ = false;
    form_.timerChanged(*this);
    form_.unregisterTimer(*this);
}

void Timer::setInterval(int milliseconds)
{
    if (interval_ == milliseconds)
        return;
    interval_ = milliseconds;
    form_.timerChanged(*this);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    form_.timerChanged(*this);
}

bool Timer::running() const
{
    return enabled_ && interval_ > 0 && form_.isLoaded();
}

} // namespace vt
