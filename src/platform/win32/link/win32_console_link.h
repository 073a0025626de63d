#pragma once

#include <windows.h>

#include <map>

#include "platform/link/console_link.h"

namespace vt::win32 {

// Finds the server console among the visible top-level windows of other
// programs by title and hands out the sender that suits it: console input
// records for a console window, which needs neither the front nor the focus;
// any other window is brought to the front and typed into with SendInput.
class Win32ConsoleLink : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string& title) override;

private:
    // Windows whose last step may have been cut short mid-line.
    std::map<HWND, bool> halfLines_;
};

} // namespace vt::win32
