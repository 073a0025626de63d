#include "platform/win32/send_input_sender.h"

#include <vector>

#include "platform/failures.h"
#include "platform/win32/system_error.h"
#include "platform/win32/virtual_keys.h"

namespace vt {

namespace {

INPUT virtualKey(WORD code, bool up, bool extended = false)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT unicodeUnit(wchar_t unit, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

std::vector<WORD> modifierKeys(const Modifiers& modifiers)
{
    std::vector<WORD> keys;
    if (modifiers.shift)
        keys.push_back(VK_SHIFT);
    if (modifiers.control)
        keys.push_back(VK_CONTROL);
    if (modifiers.alt)
        keys.push_back(VK_MENU);
    return keys;
}

void pressAndRelease(std::vector<INPUT>& events, const INPUT& down)
{
    events.push_back(down);
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    events.push_back(up);
}

// The main key of one action. A character with modifiers needs its real key
// (Ctrl+C must be Ctrl and C, Shift+a an "A", not a Unicode "c" or "a"); any
// other goes as Unicode.
void addMainKey(std::vector<INPUT>& events, const KeyAction& action)
{
    if (const auto* named = std::get_if<NamedKey>(&action.key)) {
        const VirtualKey key = virtualKeyOf(*named);
        pressAndRelease(events, virtualKey(key.code, false, key.extended));
        return;
    }
    const char32_t codePoint = std::get<char32_t>(action.key);
    if (codePoint == U'\n' || codePoint == U'\r') {
        pressAndRelease(events, virtualKey(VK_RETURN, false));
        return;
    }
    if (codePoint <= 0xFFFF && action.modifiers.any()) {
        const SHORT scan = VkKeyScanW(static_cast<wchar_t>(codePoint));
        if (scan != -1) {
            pressAndRelease(events, virtualKey(static_cast<WORD>(scan & 0xFF), false));
            return;
        }
    }
    if (codePoint > 0xFFFF) {
        const char32_t offset = codePoint - 0x10000;
        pressAndRelease(events, unicodeUnit(static_cast<wchar_t>(0xD800 + (offset >> 10)), false));
        pressAndRelease(events, unicodeUnit(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)), false));
        return;
    }
    pressAndRelease(events, unicodeUnit(static_cast<wchar_t>(codePoint), false));
}

} // namespace

void SendInputSender::typeOne(const KeyAction& action)
{
    const std::vector<WORD> modifiers = modifierKeys(action.modifiers);
    std::vector<INPUT> events;
    for (WORD modifier : modifiers)
        events.push_back(virtualKey(modifier, false));
    addMainKey(events, action);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        events.push_back(virtualKey(*it, true));
    const UINT sent = SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    if (sent == events.size())
        return;
    const DWORD error = GetLastError();
    // Never leave a modifier held down after a partial delivery.
    for (WORD modifier : modifiers) {
        INPUT up = virtualKey(modifier, true);
        SendInput(1, &up, sizeof(INPUT));
    }
    throw KeySenderFailed("the system refused keys for the window '" + title_ + "': " + systemMessage(error));
}

// Input is queued: a key sent while the window still had the focus lands
// wherever the focus is when the window's thread takes it from the queue. So
// each key is followed by two round trips to that thread: sent messages are
// handled before input, so the second one returns only after the thread has
// come back for more, having taken the key. Only then is the focus checked
// again. A hung window holds each round trip up to the bound.
void SendInputSender::awaitTaken() const
{
    constexpr UINT kBoundMs = 500;
    for (int trip = 0; trip < 2; ++trip) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kBoundMs, &ignored))
            throw KeySenderFailed("the window '" + title_ + "' does not answer; nothing more was typed");
    }
}

void SendInputSender::typeKeys(const KeyActions& keys, bool wait)
{
    (void)wait; // every key is waited for anyway
    for (const KeyAction& action : keys) {
        if (GetForegroundWindow() != window_)
            throw FocusLost("focus left the console window '" + title_ + "'; nothing more was typed");
        typeOne(action);
        awaitTaken();
    }
}

} // namespace vt
