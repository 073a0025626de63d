#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/link/console_link.h"
#include "platform/x11/x11_activation.h"
#include "platform/x11/x11_console_link.h"
#include "platform/x11/x11_console_server.h"
#include "platform/x11/x11_keymap.h"

namespace vt::x11 {

// Types into one console window through XTest, one step at a time with the
// server held, so that a step arrives whole or not at all. Lives no longer
// than the link that made it.
class X11KeySender : public KeySender {
public:
    X11KeySender(Display* display, Window console, std::string title, std::shared_ptr<KeymapBinder> binder, Later later,
                 FocusBefore before, TerminalServer server);
    ~X11KeySender() override;

    // A terminal window cannot be read back; its server's end can be seen
    // when the terminal process runs this one window.
    ConsoleSight sight() const override;
    std::unique_ptr<StepWatch> watch(const StepExpectation& expected, SightingSink sink) override;

protected:
    void typeStep(const std::vector<KeyChunk>& step) override;

private:
    void typeGuarded(const Keymap& keymap, const std::vector<KeyStroke>& strokes);
    void releaseLater(const std::vector<unsigned>& used);

    Display* display_;
    Window console_;
    std::string title_;
    std::shared_ptr<KeymapBinder> binder_;
    Later later_;
    FocusBefore before_;
    TerminalServer server_;
};

} // namespace vt::x11
