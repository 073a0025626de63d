#include "platform/win32/link/send_input_sender.h"

#include <vector>

#include "platform/failures.h"
#include "platform/win32/link/virtual_keys.h"
#include "platform/win32/system_error.h"

namespace vt::win32 {

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

// A modifier held on the physical keyboard would combine with every typed
// key (a held Ctrl turns "stop" into ^S^T^O^P): it is let go for the step.
void releaseHeldModifiers(std::vector<INPUT>& events)
{
    for (WORD modifier : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN}) {
        if (GetAsyncKeyState(modifier) & 0x8000)
            events.push_back(virtualKey(modifier, true));
    }
}

void addAction(std::vector<INPUT>& events, const KeyAction& action)
{
    const std::vector<WORD> modifiers = modifierKeys(action.modifiers);
    for (WORD modifier : modifiers)
        events.push_back(virtualKey(modifier, false));
    addMainKey(events, action);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        events.push_back(virtualKey(*it, true));
}

} // namespace

SendInputSender::~SendInputSender()
{
    if (previous_ && previous_ != window_ && IsWindow(previous_) && GetForegroundWindow() == window_)
        SetForegroundWindow(previous_);
}

// SendInput cannot hold the focus for a step as a server grab does: the keys
// go one action at a time, each taken by the window before the focus is
// checked again, so a focus change lets at most the keys still queued through
// (one call for the whole step let thousands of keys follow the focus). A
// step cut short is reported as such, never as done.
void SendInputSender::typeStep(const std::vector<KeyChunk>& step)
{
    if (GetForegroundWindow() != window_)
        throw FocusLost("focus left the console window '" + title_ + "'; nothing was typed");
    std::vector<INPUT> first;
    releaseHeldModifiers(first);
    // Escape empties a console's input line, so a retried step never
    // continues a line a focus change cut short.
    if (halfLine_)
        pressAndRelease(first, virtualKey(VK_ESCAPE, false));
    if (!first.empty()) {
        send(first, false, false);
        awaitTaken(false);
    }
    // Once a key of the step has gone, a step cut short is one of unknown
    // fate: the keys already queued may still reach the window.
    bool typed = false;
    for (const KeyAction& action : keysOfStep(step)) {
        if (GetForegroundWindow() != window_) {
            if (typed)
                throw DeliveryUnknown("focus left the console window '" + title_ +
                                      "' while a line was typed; the line may be incomplete");
            throw FocusLost("focus left the console window '" + title_ + "'; nothing was typed");
        }
        std::vector<INPUT> events;
        addAction(events, action);
        halfLine_ = true; // until the window is known to have taken the whole step
        send(events, true, typed);
        typed = true;
        awaitTaken(true);
    }
    halfLine_ = false;
}

void SendInputSender::send(std::vector<INPUT>& events, bool stepKeys, bool stepTyped)
{
    const UINT sent = SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    if (sent == events.size())
        return;
    const DWORD error = GetLastError();
    halfLine_ = halfLine_ || sent > 0;
    // Never leave a modifier held down after a partial delivery.
    for (WORD modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        INPUT up = virtualKey(modifier, true);
        SendInput(1, &up, sizeof(INPUT));
    }
    const std::string why = "the system refused keys for the window '" + title_ + "': " + systemMessage(error);
    if (stepTyped || (stepKeys && sent > 0))
        throw DeliveryUnknown(why + "; the line may be incomplete");
    throw KeySenderFailed(why + "; nothing was typed");
}

// Input is queued: a key sent while the window still had the focus lands
// wherever the focus is when the window's thread takes it from the queue. So
// each key is followed by two round trips to that thread: sent messages are
// handled before input, so the second one returns mostly after the thread has
// come back for more, having taken the key. Only then is the focus checked
// again. A hung window holds each round trip up to the bound.
void SendInputSender::awaitTaken(bool stepTyped) const
{
    constexpr UINT kBoundMs = 500;
    for (int trip = 0; trip < 2; ++trip) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kBoundMs, &ignored)) {
            const std::string why = "the window '" + title_ + "' does not answer";
            if (stepTyped)
                throw DeliveryUnknown(why + "; the line may be incomplete");
            throw KeySenderFailed(why + "; nothing was typed");
        }
    }
}

} // namespace vt::win32
