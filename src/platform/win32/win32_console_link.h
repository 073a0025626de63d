#pragma once

#include "platform/link/console_link.h"

namespace vt {

// Finds the server console among the visible top-level windows of other
// programs by title, brings it to the front and hands out the sender that
// suits it: console input records for a console window, SendInput otherwise.
class Win32ConsoleLink : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string& title) override;
};

} // namespace vt
