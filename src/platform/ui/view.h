#pragma once

#include <memory>

namespace vt {

class Control;
class Form;

// Mirrors one form onto a real window. A view never decides behaviour: it
// shows the model, and turns the user's input into the form's user actions.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void controlChanged(const Control& control) = 0;
    // Caption, position or size changed.
    virtual void formChanged() = 0;
    // The model moved the focus (first show, or the focused control was disabled).
    virtual void focusChanged() = 0;
    // The form takes user input again, or no longer (a modal dialog it owns is open).
    virtual void inputBlockedChanged() = 0;
};

class ViewFactory {
public:
    virtual ~ViewFactory() = default;
    // The window for a form about to be shown; owner is set for a modal dialog.
    virtual std::unique_ptr<FormView> createView(Form& form, Form* owner) = 0;
};

} // namespace vt
