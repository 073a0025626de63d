#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "platform/link/console_link.h"

namespace vt::win32 {

// Types into any other window through the input focus: characters as
// Unicode key events (exact whatever the layout), named keys and modifiers
// as virtual keys, the focus checked before every one; the window that had
// the focus before the activation gets it back when the step ends.
class SendInputSender : public KeySender {
public:
    // halfLine is the link's memory that a step into this window may have
    // been cut short: the next step then clears the line first.
    SendInputSender(HWND window, std::string title, HWND previousForeground, bool& halfLine)
        : window_(window), title_(std::move(title)), previous_(previousForeground), halfLine_(halfLine)
    {
    }
    ~SendInputSender() override;

protected:
    void typeStep(const std::vector<KeyChunk>& step) override;

private:
    // A failure leaves the step's fate unknown once any of its keys went:
    // stepKeys says these events are some, stepTyped that some went before.
    void send(std::vector<INPUT>& events, bool stepKeys, bool stepTyped);
    void awaitTaken(bool stepTyped) const;
    HWND window_;
    std::string title_;
    HWND previous_;
    bool& halfLine_;
};

} // namespace vt::win32
