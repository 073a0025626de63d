#include "platform/win32/link/virtual_keys.h"

#include <windows.h>

namespace vt::win32 {

VirtualKey virtualKeyOf(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter:
        return {VK_RETURN, false, L'\r'};
    case NamedKey::Backspace:
        return {VK_BACK, false, L'\b'};
    case NamedKey::Break:
        return {VK_CANCEL, true, 0};
    case NamedKey::CapsLock:
        return {VK_CAPITAL, false, 0};
    case NamedKey::Delete:
        return {VK_DELETE, true, 0};
    case NamedKey::Down:
        return {VK_DOWN, true, 0};
    case NamedKey::End:
        return {VK_END, true, 0};
    case NamedKey::Escape:
        return {VK_ESCAPE, false, 0x1b};
    case NamedKey::Help:
        return {VK_HELP, false, 0};
    case NamedKey::Home:
        return {VK_HOME, true, 0};
    case NamedKey::Insert:
        return {VK_INSERT, true, 0};
    case NamedKey::Left:
        return {VK_LEFT, true, 0};
    case NamedKey::NumLock:
        return {VK_NUMLOCK, true, 0};
    case NamedKey::PageDown:
        return {VK_NEXT, true, 0};
    case NamedKey::PageUp:
        return {VK_PRIOR, true, 0};
    case NamedKey::PrintScreen:
        return {VK_SNAPSHOT, true, 0};
    case NamedKey::Right:
        return {VK_RIGHT, true, 0};
    case NamedKey::ScrollLock:
        return {VK_SCROLL, false, 0};
    case NamedKey::Tab:
        return {VK_TAB, false, L'\t'};
    case NamedKey::Up:
        return {VK_UP, true, 0};
    default:
        break;
    }
    // F1 to F16 follow each other in both enumerations.
    const int index = static_cast<int>(key) - static_cast<int>(NamedKey::F1);
    return {static_cast<unsigned short>(VK_F1 + index), false, 0};
}

} // namespace vt::win32
