#include "platform/ui/form.h"

#include <algorithm>

#include "platform/ui/event_loop.h"

namespace vt {

Form::Form(Services& services, std::string name, std::string caption, WindowStyle style)
    : services_(services), name_(std::move(name)), caption_(std::move(caption)), style_(style)
{
}

Form::~Form() = default;

void Form::setCaption(std::string caption)
{
    if (caption_ == caption)
        return;
    caption_ = std::move(caption);
    formChanged();
}

void Form::setLeft(float twips)
{
    placement_.left = twips;
    formChanged();
}

void Form::setTop(float twips)
{
    placement_.top = twips;
    formChanged();
}

void Form::setWidth(float twips)
{
    placement_.width = twips;
    formChanged();
}

void Form::setHeight(float twips)
{
    placement_.height = twips;
    formChanged();
}

void Form::movedTo(float left, float top)
{
    placement_.left = left;
    placement_.top = top;
}

std::vector<Control*> Form::tabOrder() const
{
    std::vector<Control*> ordered;
    for (Control* control : controls_)
        if (control->tabIndex() >= 0)
            ordered.push_back(control);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    return ordered;
}

void Form::focusMovedTo(Control& control)
{
    if (&control.form() == this && control.canTakeFocus())
        focused_ = &control;
}

void Form::load()
{
    if (state_ != State::Created)
        return;
    state_ = State::Loaded;
    services_.loop.dispatch(name_ + ".Form_Load", [this] { Form_Load(); });
}

void Form::show()
{
    if (state_ == State::Created)
        load();
    if (state_ != State::Loaded)
        return;
    state_ = State::Shown;
    focusFirstControl();
    view_ = services_.views.createView(*this, owner_);
}

void Form::showModal(Form& owner)
{
    owner_ = &owner;
    load();
    if (state_ != State::Loaded)
        return;
    owner.modalChild_ = this;
    if (owner.view_)
        owner.view_->inputBlockedChanged();
    show();
    services_.loop.runModal(*this);
}

void Form::unload()
{
    if (state_ == State::Unloaded || state_ == State::Created)
        return;
    // A dialog this form owns closes first, storing what it stores on close.
    if (modalChild_)
        modalChild_->unload();
    services_.loop.dispatch(name_ + ".Form_Unload", [this] {
        int cancel = 0;
        Form_Unload(cancel);
    });
    state_ = State::Unloaded;
    for (Timer* timer : timers_)
        services_.loop.timerChanged(*timer);
    view_.reset();
    if (owner_ && owner_->modalChild_ == this) {
        owner_->modalChild_ = nullptr;
        if (owner_->view_)
            owner_->view_->inputBlockedChanged();
    }
}

bool Form::click(Control& control)
{
    if (!acceptsInput() || !control.enabled() || !control.visible() || &control.form() != this)
        return false;
    if (control.canTakeFocus())
        focused_ = &control;
    if (auto* button = dynamic_cast<CommandButton*>(&control)) {
        if (!button->onClick)
            return false;
        services_.loop.dispatch(name_ + "." + button->name() + "_Click", button->onClick);
        return true;
    }
    if (auto* tickBox = dynamic_cast<TickBox*>(&control)) {
        // The click toggles the value; the assignment raises Click.
        services_.loop.dispatch(name_ + "." + tickBox->name() + "_Click", [tickBox] { tickBox->toggle(); });
        return true;
    }
    return false;
}

bool Form::doubleClick(Label& label)
{
    if (!acceptsInput() || !label.enabled() || !label.visible() || !label.onDblClick)
        return false;
    services_.loop.dispatch(name_ + "." + label.name() + "_DblClick", label.onDblClick);
    return true;
}

bool Form::typeText(TextBox& textBox, std::string text)
{
    if (!acceptsInput() || !textBox.canTakeFocus())
        return false;
    focused_ = &textBox;
    textBox.setText(std::move(text));
    return true;
}

bool Form::pressEnter()
{
    if (!acceptsInput())
        return false;
    if (auto* focusedButton = dynamic_cast<CommandButton*>(focused_))
        return click(*focusedButton);
    CommandButton* button = defaultButton();
    return button && click(*button);
}

bool Form::close()
{
    if (!acceptsInput())
        return false;
    unload();
    return true;
}

void Form::registerControl(Control& control)
{
    controls_.push_back(&control);
}

void Form::registerTimer(Timer& timer)
{
    timers_.push_back(&timer);
}

void Form::unregisterTimer(Timer& timer)
{
    std::erase(timers_, &timer);
}

void Form::controlChanged(const Control& control)
{
    if (focused_ == &control && !control.canTakeFocus())
        moveFocusOnFrom(control);
    if (view_)
        view_->controlChanged(control);
}

void Form::timerChanged(Timer& timer)
{
    services_.loop.timerChanged(timer);
}

void Form::focusFirstControl()
{
    focused_ = nullptr;
    for (Control* control : tabOrder()) {
        if (control->canTakeFocus()) {
            focused_ = control;
            break;
        }
    }
}

// The focused control was disabled or hidden: the focus moves to the next
// control in tab order that can take it, as the toolkit does.
void Form::moveFocusOnFrom(const Control& control)
{
    const std::vector<Control*> order = tabOrder();
    auto at = std::find(order.begin(), order.end(), &control);
    focused_ = nullptr;
    if (at == order.end())
        return;
    for (std::size_t step = 1; step < order.size(); ++step) {
        Control* next = order[(static_cast<std::size_t>(at - order.begin()) + step) % order.size()];
        if (next->canTakeFocus()) {
            focused_ = next;
            break;
        }
    }
    if (view_)
        view_->focusChanged();
}

CommandButton* Form::defaultButton() const
{
    for (Control* control : controls_)
        if (auto* button = dynamic_cast<CommandButton*>(control); button && button->isDefault())
            return button;
    return nullptr;
}

void Form::formChanged()
{
    if (view_)
        view_->formChanged();
}

} // namespace vt
