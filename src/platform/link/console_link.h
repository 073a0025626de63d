#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/keys/key_action.h"

namespace vt {

// Types keystrokes into the console window found by one activation. One sender
// serves one console step and is released when the handler returns.
class KeySender {
public:
    virtual ~KeySender() = default;

    // Parses notation in full, then types it; a notation error types nothing.
    // With wait, returns only when the keys have been delivered.
    void sendKeys(std::string_view notation, bool wait);

protected:
    // Types already-parsed keys. Throws FocusLost when the focus left the console.
    virtual void typeKeys(const KeyActions& keys, bool wait) = 0;
};

// Finds the server console by its window title and brings it to the front.
class ConsoleLink {
public:
    virtual ~ConsoleLink() = default;

    // Throws ConsoleNotFound (no window, several, or an empty title) or
    // KeySenderFailed (activation or sender creation failed).
    virtual std::unique_ptr<KeySender> activate(const std::string& title) = 0;
};

} // namespace vt
