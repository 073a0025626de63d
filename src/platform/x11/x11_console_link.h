#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/link/console_link.h"

namespace vt {

namespace x11 {
class Connection;
}

// The console link on an X11 desktop. It opens its own display connection;
// later(delayMs, fn) runs fn from the program's event loop after a delay, used
// to undo temporary key bindings without blocking.
class X11ConsoleLink : public ConsoleLink {
public:
    using Later = std::function<void(int delayMs, std::function<void()>)>;

    // Throws Failure when the display cannot be opened or lacks XTest or XKB.
    explicit X11ConsoleLink(Later later);
    ~X11ConsoleLink() override;

    std::unique_ptr<KeySender> activate(const std::string& title) override;

private:
    std::unique_ptr<x11::Connection> connection_;
};

} // namespace vt
