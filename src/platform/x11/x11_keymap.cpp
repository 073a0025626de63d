#include "platform/x11/x11_keymap.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <memory>

#include "platform/failures.h"
#include "platform/x11/x11_display.h"

namespace vt::x11 {

namespace {

struct KeyboardFree {
    void operator()(XkbDescPtr keyboard) const { XkbFreeKeyboard(keyboard, 0, True); }
};

// Keys that set a modifier while held; lock keys toggle and are never pressed as modifiers.
bool holdsModifier(KeySym keysym)
{
    switch (keysym) {
    case XK_Shift_L:
    case XK_Shift_R:
    case XK_Control_L:
    case XK_Control_R:
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
    case XK_Super_L:
    case XK_Super_R:
    case XK_Hyper_L:
    case XK_Hyper_R:
    case XK_ISO_Level3_Shift:
    case XK_ISO_Level5_Shift:
    case XK_Mode_switch:
        return true;
    default:
        return false;
    }
}

KeymapKey readKey(XkbDescPtr keyboard, unsigned keycode, int group)
{
    KeymapKey key;
    key.keycode = keycode;
    const int groups = XkbKeyNumGroups(keyboard, keycode);
    if (groups == 0)
        return key;
    const int keyGroup = group % groups; // the default rule for keys with fewer groups: wrap
    const XkbKeyTypePtr type = XkbKeyKeyType(keyboard, keycode, keyGroup);
    for (int level = 0; level < type->num_levels; ++level) {
        key.levels.push_back(static_cast<vt::x11::KeySym>(XkbKeySymEntry(keyboard, keycode, level, keyGroup)));
    }
    key.typeMask = type->mods.mask;
    for (int i = 0; i < type->map_count; ++i) {
        const XkbKTMapEntryRec& entry = type->map[i];
        if (entry.active)
            key.entries.emplace_back(entry.mods.mask, entry.level);
    }
    return key;
}

vt::x11::KeySym baseKeysym(const Keymap& keymap, unsigned keycode)
{
    for (const auto& key : keymap.keys) {
        if (key.keycode == keycode && !key.levels.empty())
            return key.levels.front();
    }
    return noSymbol;
}

void readModifierKeys(Display* display, Keymap& keymap)
{
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map)
        return;
    for (unsigned bit = 0; bit < 8; ++bit) {
        for (int i = 0; i < map->max_keypermod; ++i) {
            const unsigned keycode = map->modifiermap[bit * map->max_keypermod + i];
            const vt::x11::KeySym keysym = baseKeysym(keymap, keycode);
            if (keycode == 0 || !holdsModifier(keysym))
                continue;
            if (keymap.modifierKeycodes[bit] == 0)
                keymap.modifierKeycodes[bit] = keycode;
            if (keysym == XK_Alt_L || keysym == XK_Alt_R)
                keymap.altModifier = 1u << bit;
        }
    }
    XFreeModifiermap(map);
}

} // namespace

Keymap readKeymap(Display* display)
{
    std::unique_ptr<XkbDescRec, KeyboardFree> keyboard(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
    XkbStateRec state{};
    if (!keyboard || XkbGetState(display, XkbUseCoreKbd, &state) != Success) {
        throw KeySenderFailed("cannot read the keyboard map from the X server");
    }
    Keymap keymap;
    for (unsigned keycode = keyboard->min_key_code; keycode <= keyboard->max_key_code; ++keycode) {
        keymap.keys.push_back(readKey(keyboard.get(), keycode, state.group));
    }
    keymap.lockedModifiers = state.locked_mods & ~LockMask;
    readModifierKeys(display, keymap);
    return keymap;
}

KeymapBinder::~KeymapBinder()
{
    for (const auto& binding : bindings_.releaseAll())
        unbind(binding);
    XFlush(display_);
}

KeymapBinder::Prepared KeymapBinder::prepare(const KeyActions& actions)
{
    Keymap keymap = readKeymap(display_);
    std::vector<vt::x11::KeySym> wanted;
    for (const auto& action : actions)
        wanted.push_back(keysymOfAction(action));
    const auto claim = bindings_.claim(wanted, missingKeysyms(keymap, actions), spareKeycodes(keymap));
    if (claim.added.empty())
        return {std::move(keymap), claim.used};
    for (const auto& binding : claim.added)
        bind(binding);
    XSync(display_, False);
    return {readKeymap(display_), claim.used};
}

void KeymapBinder::release(const std::vector<unsigned>& used)
{
    for (const auto& binding : bindings_.release(used))
        unbind(binding);
    XFlush(display_);
}

// Width 2 keeps both levels as given: with width 1 the server would make an
// upper-case letter's first level its lower-case form.
void KeymapBinder::bind(const KeyBinding& binding)
{
    ::KeySym keysyms[2] = {binding.first, binding.second};
    XChangeKeyboardMapping(display_, static_cast<int>(binding.keycode), 2, keysyms, 1);
}

// Only a key that still holds our binding is cleared: someone may have loaded
// another keyboard layout meanwhile.
void KeymapBinder::unbind(const KeyBinding& binding)
{
    int width = 0;
    const auto code = static_cast<KeyCode>(binding.keycode);
    ::KeySym* current = XGetKeyboardMapping(display_, code, 1, &width);
    const bool ours = current && width >= 2 && current[0] == binding.first && current[1] == binding.second;
    if (current)
        XFree(current);
    if (!ours)
        return;
    ::KeySym empty[2] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(display_, code, 2, empty, 1);
}

} // namespace vt::x11
