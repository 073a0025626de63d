#pragma once

#include <string>

#include <windows.h>

#include "platform/link/console_link.h"

namespace vt {

// Types into any other window through the input focus: characters as
// Unicode key events (exact whatever the layout), named keys and modifiers
// as virtual keys. Before every key it checks that the target still has the
// focus, so that no key lands in a window the user has switched to.
class SendInputSender : public KeySender {
public:
    SendInputSender(HWND window, std::string title) : window_(window), title_(std::move(title)) {}

protected:
    void typeKeys(const KeyActions& keys, bool wait) override;

private:
    void typeOne(const KeyAction& action);
    void awaitTaken() const;
    HWND window_;
    std::string title_;
};

} // namespace vt
