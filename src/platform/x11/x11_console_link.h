#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/link/console_link.h"

namespace vt::x11 {

class Connection;

// Runs a function after a delay in milliseconds, from the program's event loop.
using Later = std::function<void(int delayMs, std::function<void()>)>;

// The console link on an X11 desktop. It opens its own display connection;
// later(delayMs, fn) runs fn from the program's event loop after a delay, used
// to undo temporary key bindings without blocking.
class X11ConsoleLink : public ConsoleLink {
public:
    // Throws Failure when the display cannot be opened or lacks XTest or XKB.
    explicit X11ConsoleLink(Later later);
    ~X11ConsoleLink() override;

    std::unique_ptr<KeySender> activate(const std::string& title) override;

private:
    std::unique_ptr<Connection> connection_;
};

} // namespace vt::x11
