#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/geometry.h"

namespace vt {

class Form;

enum class ControlKind { CommandButton, TickBox, Label, TextBox, Frame, Line };

// A control of a form: plain properties, and events raised only by the model.
// Every change of a property is passed on to the form's view, if it has one.
class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, Rect rect, int tabIndex, Look look);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    Rect rect() const { return rect_; }
    int tabIndex() const { return tabIndex_; }
    const Look& look() const { return look_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);

    // Whether the keyboard focus can rest on it now.
    bool canTakeFocus() const;

protected:
    void changed();
    virtual bool focusable() const { return false; }

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    Rect rect_;
    int tabIndex_;
    Look look_;
    bool enabled_ = true;
    bool visible_ = true;
};

// A caption as shown: "&&" shows as "&", a single "&" only marks an access key.
std::string displayCaption(const std::string& caption);

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Look look = kDefaultLook);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool isDefault() const { return default_; }
    void setDefault(bool isDefault);

    std::function<void()> onClick;

private:
    bool focusable() const override { return true; }
    std::string caption_;
    bool default_ = false;
};

// A tickbox's Click runs whenever its value changes while it is enabled: on the
// user's click and, nested in the assignment, when code assigns a different
// value. A disabled tickbox takes a new value silently.
class TickBox : public Control {
public:
    TickBox(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Look look = kDefaultLook);

    const std::string& caption() const { return caption_; }
    std::int16_t value() const { return value_; }
    void setValue(std::int16_t value);
    // The user's click: toggles the value, which raises Click.
    void toggle();

    std::function<void()> onClick;

private:
    bool focusable() const override { return true; }
    std::string caption_;
    std::int16_t value_ = 0;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Look look = kDefaultLook);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    std::function<void()> onDblClick;

private:
    std::string caption_;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, Rect rect, int tabIndex, std::string text, Look look = kDefaultLook,
            bool multiLine = false);

    const std::string& text() const { return text_; }
    void setText(std::string text);
    bool multiLine() const { return multiLine_; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    bool focusable() const override { return !readOnly_; }
    std::string text_;
    bool multiLine_;
    bool readOnly_ = false;
};

// A frame is drawn behind the controls that lie inside it; they belong to the
// window, not to the frame.
class Frame : public Control {
public:
    Frame(Form& form, std::string name, Rect rect, int tabIndex, std::string caption, Color captionColor);

    const std::string& caption() const { return caption_; }
    Color captionColor() const { return captionColor_; }

private:
    std::string caption_;
    Color captionColor_;
};

// A separator line from (x1, y1) to (x2, y2); its rect spans the two ends.
class Line : public Control {
public:
    Line(Form& form, std::string name, int x1, int y1, int x2, int y2);

    int x1() const { return rect().left; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }

private:
    int y1_;
    int x2_;
    int y2_;
};

// A timer raises Timer once per interval, counted from its enabling, for as
// long as it stays enabled. Interval 0 never fires. The form's event loop does
// the counting.
class Timer {
public:
    Timer(Form& form, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Whether it should be counting now: enabled, with an interval, on a live form.
    bool running() const;

    std::function<void()> onTimer;

private:
    Form& form_;
    std::string name_;
    int interval_ = 0;
    bool enabled_ = false;
};

} // namespace vt
