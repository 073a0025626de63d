#pragma once

#include <string>

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Widget.H>

#include "platform/ui/controls.h"
#include "platform/ui/screen_scale.h"

namespace vt::fltk {

// What a window's widgets tell about the user's input. The view implements it
// by calling the form's user actions; widgets never change themselves in
// answer to input beyond what FLTK draws while a button is held.
class InputListener {
public:
    virtual ~InputListener() = default;
    virtual void clicked(Control& control) = 0;
    virtual void doubleClicked(Label& label) = 0;
    virtual void typed(TextBox& textBox, std::string text) = 0;
    virtual void focusArrived(Control& control) = 0;
    virtual void enterPressed() = 0;
    virtual void closeRequested() = 0;
    virtual void windowMoved(int clientX, int clientY) = 0;
    virtual void windowFocused() = 0;
    virtual bool acceptsInput() const = 0;
};

// Labels are plain text: "@" starts no symbol and "&" marks no shortcut.
std::string widgetLabel(const std::string& caption);

// The listener of the window a widget sits in; none once the view has gone,
// which can happen inside a widget's own callback (OK unloads its dialog).
InputListener* listenerOf(const Fl_Widget& widget);

// A command button. The default button is drawn plain with a dark frame, and
// Enter is left to the window, which asks the form which button it presses.
class ButtonWidget : public Fl_Button {
public:
    ButtonWidget(const PixelBox& box, CommandButton& button);
    void setDefault(bool isDefault);
    int handle(int event) override;
    void draw() override;

private:
    static void onCallback(Fl_Widget* widget, void* data);
    CommandButton& button_;
    bool default_ = false;
};

// A tickbox shows the form's value only: a click goes to the form, which
// toggles the value, and the view then shows whatever the form holds.
class TickBoxWidget : public Fl_Check_Button {
public:
    TickBoxWidget(const PixelBox& box, TickBox& tickBox);
    int handle(int event) override;
    void showValue();

private:
    static void onCallback(Fl_Widget* widget, void* data);
    TickBox& tickBox_;
};

// A label; a double-click raises DblClick.
class LabelWidget : public Fl_Box {
public:
    LabelWidget(const PixelBox& box, Label& label);
    int handle(int event) override;

private:
    Label& label_;
};

// A text box; every edit is passed on at once.
class TextBoxWidget : public Fl_Input {
public:
    TextBoxWidget(const PixelBox& box, TextBox& textBox);
    int handle(int event) override;
    void showText();

private:
    static void onCallback(Fl_Widget* widget, void* data);
    TextBox& textBox_;
};

// A frame: an etched rectangle with its caption drawn over the top edge.
class FrameWidget : public Fl_Widget {
public:
    FrameWidget(const PixelBox& box, const Frame& frame, int fontPixels);
    void draw() override;

private:
    std::string caption_;
    Fl_Color captionColor_;
};

// A separator line between two points of its box.
class LineWidget : public Fl_Widget {
public:
    LineWidget(const PixelBox& box, bool falling);
    void draw() override;

private:
    bool falling_;
};

// The window of one form. It keeps the user's input from the form while the
// form takes none, turns Enter and the close box into the form's actions, and
// shows the current report in a banner over its lower edge.
class FormWindow : public Fl_Double_Window {
public:
    FormWindow(const PixelBox& box, InputListener& listener);
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;
    void draw() override;

    // The report strip, with its top edge at top, across the whole width: red
    // when alarming, a neutral grey for good news.
    void showBanner(std::string text, bool alarming, int fontPixels, int top);
    const std::string& banner() const { return banner_; }
    // How high the strip is drawn in a font of this size.
    static int bannerHeight(int fontPixels);
    // The view goes away before the window does (FLTK deletes it later).
    void detach() { listener_ = nullptr; }
    InputListener* listener() const { return listener_; }

private:
    static void onClose(Fl_Widget* widget, void* data);
    bool isUserInput(int event) const;
    int handleKey(int event);
    InputListener* listener_;
    std::string banner_;
    bool bannerAlarming_ = true;
    int bannerFontPixels_ = 11;
    int bannerTop_ = 0;
};

} // namespace vt::fltk
