#include "platform/win32/link/console_input_sender.h"

#include <vector>

#include "platform/failures.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/process_list.h"
#include "platform/win32/link/virtual_keys.h"

namespace vt::win32 {

namespace {

DWORD controlKeyState(const Modifiers& modifiers)
{
    DWORD state = 0;
    if (modifiers.shift)
        state |= SHIFT_PRESSED;
    if (modifiers.control)
        state |= LEFT_CTRL_PRESSED;
    if (modifiers.alt)
        state |= LEFT_ALT_PRESSED;
    return state;
}

void addKey(std::vector<INPUT_RECORD>& records, WORD virtualKey, wchar_t character, DWORD state)
{
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = virtualKey;
    key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    key.uChar.UnicodeChar = character;
    key.dwControlKeyState = state;
    key.bKeyDown = TRUE;
    records.push_back(record);
    key.bKeyDown = FALSE;
    records.push_back(record);
}

// What the layout's key types with the modifiers held ("+a" types "A",
// "^c" the control character); none when the layout has no such key.
wchar_t modifiedCharacter(WORD virtualKey, const Modifiers& modifiers)
{
    BYTE state[256] = {};
    if (modifiers.shift)
        state[VK_SHIFT] = 0x80;
    if (modifiers.control)
        state[VK_CONTROL] = 0x80;
    if (modifiers.alt)
        state[VK_MENU] = 0x80;
    wchar_t typed[4] = {};
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    return ToUnicode(virtualKey, scanCode, state, typed, 4, 0) == 1 ? typed[0] : 0;
}

// A character the layout has no key for still goes in whole: the record
// carries it, and the virtual key is only a hint for programs that look.
void addCharacter(std::vector<INPUT_RECORD>& records, char32_t codePoint, const Modifiers& modifiers)
{
    const DWORD state = controlKeyState(modifiers);
    if (codePoint == U'\n' || codePoint == U'\r') {
        addKey(records, VK_RETURN, L'\r', state);
        return;
    }
    if (codePoint > 0xFFFF) {
        const char32_t offset = codePoint - 0x10000;
        addKey(records, 0, static_cast<wchar_t>(0xD800 + (offset >> 10)), state);
        addKey(records, 0, static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)), state);
        return;
    }
    auto unit = static_cast<wchar_t>(codePoint);
    const SHORT scan = VkKeyScanW(unit);
    const WORD virtualKey = scan == -1 ? 0 : static_cast<WORD>(scan & 0xFF);
    if (virtualKey && modifiers.any())
        if (const wchar_t modified = modifiedCharacter(virtualKey, modifiers))
            unit = modified;
    addKey(records, virtualKey, unit, state);
}

// 0 when it is not found, or the system lists no processes: the window's
// own process is then the only way in.
DWORD parentProcessOf(DWORD process)
{
    try {
        for (const RunningProcess& running : runningProcesses())
            if (running.id == process)
                return running.parent;
    } catch (const KeySenderFailed&) {
    }
    return 0;
}

} // namespace

std::vector<INPUT_RECORD> consoleRecords(const KeyActions& keys)
{
    std::vector<INPUT_RECORD> records;
    for (const KeyAction& action : keys) {
        const DWORD state = controlKeyState(action.modifiers);
        if (const auto* named = std::get_if<NamedKey>(&action.key)) {
            const VirtualKey key = virtualKeyOf(*named);
            addKey(records, key.code, key.character, state | (key.extended ? ENHANCED_KEY : 0));
        } else {
            addCharacter(records, std::get<char32_t>(action.key), action.modifiers);
        }
    }
    return records;
}

std::string recordBytes(const KeyActions& keys)
{
    const std::vector<INPUT_RECORD> records = consoleRecords(keys);
    return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(INPUT_RECORD));
}

// The window may belong to the console host rather than to a program
// attached to the console; the host's parent is one. Either way the console
// reached must be the one this window shows, or keys would go to another.
void ConsoleInputSender::typeStep(const std::vector<KeyChunk>& step)
{
    if (!IsWindow(window_))
        throw ConsoleNotFound("the console window '" + title_ + "' has closed; nothing was typed");
    DWORD owner = 0;
    GetWindowThreadProcessId(window_, &owner);
    std::vector<std::uint32_t> processes{owner};
    if (const DWORD parent = parentProcessOf(owner))
        processes.push_back(parent);
    const WriteOutcome outcome = writeToConsoleInHelper(
        {processes, reinterpret_cast<std::uintptr_t>(window_), stepWaits(step), title_, recordBytes(keysOfStep(step))});
    if (outcome.status == WriteOutcome::Status::NotReached)
        throw KeySenderFailed("could not reach the input of the console window '" + title_ + "': " + outcome.message +
                              "; nothing was typed");
    if (outcome.status == WriteOutcome::Status::Failed)
        throw KeySenderFailed(outcome.message);
}

} // namespace vt::win32
