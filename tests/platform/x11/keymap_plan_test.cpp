#include "platform/x11/keymap_plan.h"

#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt::x11 {
namespace {

constexpr unsigned mod1 = 1u << 3;
constexpr unsigned mod2 = 1u << 4;
constexpr unsigned mod5 = 1u << 7;
constexpr KeySym euroSign = 0x20ac;
constexpr KeySym kpEnd = 0xff9c;
constexpr KeySym kp1 = 0xffb1;

KeymapKey alphabetic(unsigned keycode, KeySym lower, KeySym upper)
{
    return {keycode, {lower, upper}, shiftModifier | lockModifier, {{shiftModifier, 1}, {lockModifier, 1}}};
}
KeymapKey twoLevel(unsigned keycode, KeySym plain, KeySym shifted)
{
    return {keycode, {plain, shifted}, shiftModifier, {{shiftModifier, 1}}};
}
KeymapKey fourLevel(unsigned keycode, std::vector<KeySym> levels)
{
    return {
        keycode, std::move(levels), shiftModifier | mod5, {{shiftModifier, 1}, {mod5, 2}, {shiftModifier | mod5, 3}}};
}

// A small German-like keyboard: AltGr (Mod5) reaches a third level, Num Lock is
// a lock key and so no modifier to hold.
Keymap germanLike()
{
    Keymap keymap;
    keymap.keys = {
        twoLevel(10, '1', '!'),
        fourLevel(26, {'e', 'E', euroSign, 'E'}),
        alphabetic(38, 'a', 'A'),
        alphabetic(54, 'c', 'C'),
        twoLevel(36, 0xff0d, 0xff0d),
        {87, {kpEnd, kp1}, mod2, {{mod2, 1}}},
        {93, {}, 0, {}},
        {94, {noSymbol, noSymbol}, shiftModifier, {{shiftModifier, 1}}},
        {92, {0xfe03}, 0, {}},
    };
    keymap.modifierKeycodes[0] = 50; // Shift
    keymap.modifierKeycodes[2] = 37; // Control
    keymap.modifierKeycodes[3] = 64; // Mod1: Alt
    keymap.modifierKeycodes[7] = 92; // Mod5: AltGr
    return keymap;
}

TEST(KeymapPlan, CharactersAndKeysHaveTheirKeysyms)
{
    const struct {
        char32_t character;
        KeySym keysym;
    } characters[] = {
        {U'a', 0x61},      {U'~', 0x7e},    {U'§', 0xa7},    {U'ÿ', 0xff},         {U'€', 0x10020ac},
        {U'Ā', 0x1000100}, {U'\n', 0xff0d}, {U'\t', 0xff09}, {0x1F600, 0x101F600},
    };
    for (const auto& c : characters)
        EXPECT_EQ(keysymOfCharacter(c.character), c.keysym) << std::hex << c.keysym;

    EXPECT_EQ(keysymOfNamedKey(NamedKey::Enter), 0xff0du);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::PageUp), 0xff55u);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::F1), 0xffbeu);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::F12), 0xffc9u);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::F16), 0xffcdu);
}

TEST(KeymapPlan, LegacyAndUnicodeKeysymsOfOneCharacterAreTheSame)
{
    EXPECT_TRUE(sameKeysym(euroSign, 0x10020ac));
    EXPECT_TRUE(sameKeysym(0x10000a7, 0xa7));
    EXPECT_TRUE(sameKeysym(0xff0d, 0xff0d));
    EXPECT_FALSE(sameKeysym('a', 'A'));
    EXPECT_FALSE(sameKeysym(noSymbol, noSymbol));
    EXPECT_FALSE(sameKeysym(0xff0d, 0x100000d));
}

TEST(KeymapPlan, FindsTheStrokeWithTheFewestModifiers)
{
    Keymap keymap = germanLike();
    const struct {
        KeySym keysym;
        std::optional<KeyStroke> stroke;
    } cases[] = {
        {'a', KeyStroke{38, 0}},
        {'A', KeyStroke{38, shiftModifier}},
        {'!', KeyStroke{10, shiftModifier}},
        {0x10020ac, KeyStroke{26, mod5}}, // "€" asked for as Unicode, found as EuroSign
        {'E', KeyStroke{26, shiftModifier}},
        {kp1, std::nullopt}, // needs Num Lock, which is never held
        {0xfc, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findKeysym(keymap, c.keysym), c.stroke) << std::hex << c.keysym;
}

TEST(KeymapPlan, LockedModifiersChangeTheLevel)
{
    Keymap keymap = germanLike();
    keymap.lockedModifiers = mod2; // Num Lock on
    EXPECT_EQ(findKeysym(keymap, kp1), (KeyStroke{87, 0}));
    EXPECT_EQ(findKeysym(keymap, kpEnd), std::nullopt);
}

TEST(KeymapPlan, NeverHoldsLockOrAModifierWithoutAKey)
{
    Keymap keymap = germanLike();
    keymap.modifierKeycodes[1] = 66; // Caps Lock
    EXPECT_EQ(findKeysym(keymap, 'A'), (KeyStroke{38, shiftModifier}));
    keymap.modifierKeycodes[7] = 0; // no AltGr key
    EXPECT_EQ(findKeysym(keymap, euroSign), std::nullopt);
}

TEST(KeymapPlan, ListsMissingKeysymsOnceInOrder)
{
    EXPECT_EQ(missingKeysyms(germanLike(), parseKeystrokes("aü€üxa{F5}")), (std::vector<KeySym>{0xfc, 'x', 0xffc2}));
    EXPECT_TRUE(missingKeysyms(germanLike(), parseKeystrokes("Ee€1!~")).size() == 0);
}

TEST(KeymapPlan, SpareKeysAreEmptyAndNoModifiers)
{
    Keymap keymap = germanLike();
    EXPECT_EQ(spareKeycodes(keymap), (std::vector<unsigned>{93, 94}));
    keymap.modifierKeycodes[4] = 93;
    EXPECT_EQ(spareKeycodes(keymap), (std::vector<unsigned>{94}));
}

TEST(KeymapPlan, StrokesAddTheActionsModifiers)
{
    const auto strokes = planStrokes(germanLike(), parseKeystrokes("^c+a%a€~"));
    const std::vector<KeyStroke> expected = {
        {54, controlModifier}, {38, shiftModifier}, {38, mod1}, {26, mod5}, {36, 0},
    };
    EXPECT_EQ(strokes, expected);
    EXPECT_EQ(modifierKeycodesOf(germanLike(), shiftModifier | controlModifier | mod5),
              (std::vector<unsigned>{50, 37, 92}));
}

TEST(KeymapPlan, MissingKeysAndModifiersFailThePlan)
{
    EXPECT_THROW(planStrokes(germanLike(), parseKeystrokes("aü")), KeySenderFailed);
    Keymap noAlt = germanLike();
    noAlt.modifierKeycodes[3] = 0;
    EXPECT_THROW(planStrokes(noAlt, parseKeystrokes("%a")), KeySenderFailed);
}

} // namespace
} // namespace vt::x11
