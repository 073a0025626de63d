#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "platform/link/console_link.h"

namespace vt::win32 {

// Types into a console window by writing key records straight into its
// input buffer (through the console helper), a whole step in one write:
// exact for every character, whatever the keyboard layout, and independent
// of the focus, so no key can land in another window.
class ConsoleInputSender : public KeySender {
public:
    ConsoleInputSender(HWND window, std::string title) : window_(window), title_(std::move(title)) {}

protected:
    void typeStep(const std::vector<KeyChunk>& step) override;

private:
    HWND window_;
    std::string title_;
};

// The key-down and key-up records of the keys, as the console would receive them from the keyboard.
std::vector<INPUT_RECORD> consoleRecords(const KeyActions& keys);

// The same records as bytes, as they lie in memory, for the console helper.
std::string recordBytes(const KeyActions& keys);

} // namespace vt::win32
