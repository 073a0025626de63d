#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/ui/controls.h"
#include "platform/ui/view.h"

namespace vt {

// Outer placement of a window on the screen, in twips.
struct Placement {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct WindowStyle {
    int clientWidth = 0; // design client area, twips
    int clientHeight = 0;
    bool minimizeBox = false;
    double fontPoints = 8.25; // the window's own font, used by its buttons
};

// A window: its properties, its controls and timers (members of the derived
// class, registered here as they are constructed), its lifecycle, and the user
// actions through which views and tests drive it.
class Form {
public:
    Form(Services& services, std::string name, std::string caption, WindowStyle style);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const WindowStyle& style() const { return style_; }

    const Placement& placement() const { return placement_; }
    float left() const { return placement_.left; }
    float top() const { return placement_.top; }
    float width() const { return placement_.width; }
    float height() const { return placement_.height; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    // The window was moved on screen; a view reports it, nothing is redrawn.
    void movedTo(float left, float top);

    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    // Controls sorted by tab index.
    std::vector<Control*> tabOrder() const;

    Control* focused() const { return focused_; }
    // The view reports where the keyboard focus went.
    void focusMovedTo(Control& control);

    // Lifecycle. load() runs Form_Load; show() opens the view and puts the
    // focus on the first control in tab order that can take it; showModal()
    // does both, blocks the owner's input and returns once this form unloads;
    // unload() closes a modal dialog this form owns first, runs Form_Unload
    // and destroys the view.
    void load();
    void show();
    void showModal(Form& owner);
    void unload();
    bool isLoaded() const { return state_ == State::Loaded || state_ == State::Shown; }
    bool isShown() const { return state_ == State::Shown; }
    bool isUnloaded() const { return state_ == State::Unloaded; }
    Form* modalChild() const { return modalChild_; }
    bool acceptsInput() const { return isShown() && modalChild_ == nullptr; }

    // User actions. Each is ignored (returns false) while the form takes no
    // input or the control is disabled or hidden; otherwise the event's handler
    // runs through the event loop's dispatch.
    bool click(Control& control);
    bool doubleClick(Label& label);
    // The user replaces the text box's text by typing.
    bool typeText(TextBox& textBox, std::string text);
    // Enter: presses the focused button, else the default button.
    bool pressEnter();
    // The close box, Alt+F4 or the system menu.
    bool close();
    // Asked from outside to close (without a display: a signal, named by
    // cause): closes as the close box does. A form overrides it to say
    // first what the request cut short.
    virtual bool closeRequested(const std::string& cause)
    {
        (void)cause;
        return close();
    }

    // Called by controls and timers.
    void registerControl(Control& control);
    void registerTimer(Timer& timer);
    void unregisterTimer(Timer& timer);
    void controlChanged(const Control& control);
    void timerChanged(Timer& timer);

    FormView* view() const { return view_.get(); }
    Services& services() const { return services_; }

protected:
    virtual void Form_Load() {}
    // cancel is never set by this program's forms.
    virtual void Form_Unload(int& cancel) { (void)cancel; }

private:
    enum class State { Created, Loaded, Shown, Unloaded };
    void focusFirstControl();
    void moveFocusOnFrom(const Control& control);
    CommandButton* defaultButton() const;
    void formChanged();

    Services& services_;
    std::string name_;
    std::string caption_;
    WindowStyle style_;
    Placement placement_;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    Control* focused_ = nullptr;
    Form* owner_ = nullptr;
    Form* modalChild_ = nullptr;
    State state_ = State::Created;
    std::unique_ptr<FormView> view_;
};

} // namespace vt
