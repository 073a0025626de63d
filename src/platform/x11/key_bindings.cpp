#include "platform/x11/key_bindings.h"

#include <algorithm>

#include "platform/failures.h"

namespace vt::x11 {

namespace {

bool holdsKeysym(const KeyBinding& binding, KeySym keysym)
{
    return sameKeysym(binding.first, keysym) || sameKeysym(binding.second, keysym);
}

// Pairs keysyms onto keys; an odd one out fills both levels of its key, since a
// key with one symbol would type its lower-case form ("É" as "é").
std::vector<KeyBinding> pairUp(const std::vector<KeySym>& keysyms, const std::vector<unsigned>& keys)
{
    std::vector<KeyBinding> bindings;
    for (std::size_t i = 0; i < keysyms.size(); i += 2) {
        const KeySym second = i + 1 < keysyms.size() ? keysyms[i + 1] : keysyms[i];
        bindings.push_back({keys[i / 2], keysyms[i], second});
    }
    return bindings;
}

} // namespace

bool KeyBindings::bound(unsigned keycode) const
{
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.binding.keycode == keycode; });
}

bool KeyBindings::holds(KeySym keysym) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return holdsKeysym(e.binding, keysym); });
}

KeyBindings::Claim KeyBindings::claim(const std::vector<KeySym>& wanted, const std::vector<KeySym>& missing,
                                      const std::vector<unsigned>& spare)
{
    std::vector<unsigned> free;
    std::copy_if(spare.begin(), spare.end(), std::back_inserter(free), [&](unsigned k) { return !bound(k); });
    const std::size_t keysNeeded = (missing.size() + 1) / 2;
    if (keysNeeded > free.size()) {
        throw KeySenderFailed("the keyboard has no room for " + std::to_string(missing.size()) + " more characters (" +
                              std::to_string(free.size()) +
                              " free keys, two characters each); send fewer different special characters at once");
    }
    Claim result;
    result.added = pairUp(missing, free);
    for (const auto& binding : result.added)
        entries_.push_back({binding, 0});
    for (auto& entry : entries_) {
        const bool needed =
            std::any_of(wanted.begin(), wanted.end(), [&](KeySym k) { return holdsKeysym(entry.binding, k); });
        if (needed) {
            ++entry.uses;
            result.used.push_back(entry.binding.keycode);
        }
    }
    return result;
}

std::vector<KeyBinding> KeyBindings::release(const std::vector<unsigned>& used)
{
    for (auto& entry : entries_) {
        if (std::find(used.begin(), used.end(), entry.binding.keycode) != used.end() && entry.uses > 0)
            --entry.uses;
    }
    std::vector<KeyBinding> idle;
    std::erase_if(entries_, [&](const Entry& e) {
        if (e.uses > 0)
            return false;
        idle.push_back(e.binding);
        return true;
    });
    return idle;
}

std::vector<KeyBinding> KeyBindings::releaseAll()
{
    std::vector<KeyBinding> all;
    for (const auto& entry : entries_)
        all.push_back(entry.binding);
    entries_.clear();
    return all;
}

} // namespace vt::x11
