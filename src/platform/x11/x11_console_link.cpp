#include "platform/x11/x11_console_link.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include <vector>

#include "platform/failures.h"
#include "platform/link/title_match.h"
#include "platform/x11/x11_activation.h"
#include "platform/x11/x11_console_server.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_keymap.h"
#include "platform/x11/x11_typing.h"
#include "platform/x11/x11_windows.h"

namespace vt::x11 {

// The display and the key bindings, which must go before the display closes.
class Connection {
public:
    explicit Connection(Later later) : display_(openDisplay()), later_(std::move(later))
    {
        requireExtensions();
        binder_ = std::make_shared<KeymapBinder>(display_.get());
    }
    ~Connection() { binder_.reset(); }

    Display* display() const { return display_.get(); }
    const std::shared_ptr<KeymapBinder>& binder() const { return binder_; }
    const Later& later() const { return later_; }

private:
    void requireExtensions()
    {
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display(), &event, &error, &major, &minor)) {
            throw Failure("the X display '" + std::string(DisplayString(display())) +
                          "' has no XTest extension, which typing into the console needs");
        }
        int opcode = 0;
        major = XkbMajorVersion;
        minor = XkbMinorVersion;
        if (!XkbQueryExtension(display(), &opcode, &event, &error, &major, &minor)) {
            throw Failure("the X display '" + std::string(DisplayString(display())) +
                          "' has no keyboard extension (XKB), which typing into the console needs");
        }
    }

    DisplayPtr display_;
    Later later_;
    std::shared_ptr<KeymapBinder> binder_;
};

X11ConsoleLink::X11ConsoleLink(Later later) : connection_(std::make_unique<Connection>(std::move(later))) {}

X11ConsoleLink::~X11ConsoleLink() = default;

std::unique_ptr<KeySender> X11ConsoleLink::activate(const std::string& title)
{
    Display* display = connection_->display();
    const auto windows = topLevelWindows(display);
    // A terminal shows its title as it was set: no " - command" form here.
    const Window console =
        chooseConsole(windows, title, [](const TopLevel& window) { return ConsoleTitle{window.title}; }).window;
    // Keys typed at a shell prompt would run as commands: refused before
    // the window is even brought forward.
    TerminalServer server = findTerminalServer(display, console);
    if (server.processes && server.processes->atShellPrompt) {
        throw NoServerRunning("the console '" + title +
                              "' shows a shell prompt: the server is not running there; nothing was typed");
    }

    const bool managed = windowManagerRuns(display);
    const FocusBefore before = focusBefore(display, managed);
    if (!activateWindow(display, console, managed)) {
        if (!windowExists(display, console)) {
            throw ConsoleNotFound("the console window '" + title + "' closed while it was being activated");
        }
        throw KeySenderFailed("the console window '" + title + "' could not be given the keyboard focus");
    }
    return std::make_unique<X11KeySender>(display, console, title, connection_->binder(), connection_->later(), before,
                                          std::move(server));
}

} // namespace vt::x11
