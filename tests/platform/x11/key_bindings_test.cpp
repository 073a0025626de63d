#include "platform/x11/key_bindings.h"

#include <gtest/gtest.h>

#include "platform/failures.h"

namespace vt::x11 {
namespace {

constexpr KeySym euro = 0x10020ac;
constexpr KeySym uUmlaut = 0xfc;
constexpr KeySym eAcute = 0xc9;

TEST(KeyBindings, BindsTwoMissingKeysymsPerSpareKey)
{
    KeyBindings bindings;
    const auto claim = bindings.claim({'a', euro, uUmlaut, eAcute}, {euro, uUmlaut, eAcute}, {100, 101, 102});
    const std::vector<KeyBinding> expected = {{100, euro, uUmlaut}, {101, eAcute, eAcute}};
    EXPECT_EQ(claim.added, expected);
    EXPECT_EQ(claim.used, (std::vector<unsigned>{100, 101}));
    EXPECT_TRUE(bindings.holds(eAcute));
    EXPECT_FALSE(bindings.holds('a'));
}

TEST(KeyBindings, UndoesABindingOnlyAfterItsLastUse)
{
    KeyBindings bindings;
    const auto first = bindings.claim({euro, eAcute}, {euro, eAcute}, {100});
    // A later string needs "€" again; it is bound already, so the keymap has it.
    const auto second = bindings.claim({euro}, {}, {101});
    EXPECT_TRUE(second.added.empty());
    EXPECT_EQ(second.used, (std::vector<unsigned>{100}));

    EXPECT_TRUE(bindings.release(first.used).empty());
    EXPECT_EQ(bindings.release(second.used), (std::vector<KeyBinding>{{100, euro, eAcute}}));
    EXPECT_FALSE(bindings.holds(euro));
}

TEST(KeyBindings, SkipsKeysItHasBoundAlready)
{
    KeyBindings bindings;
    bindings.claim({euro}, {euro}, {100});
    const auto claim = bindings.claim({uUmlaut}, {uUmlaut}, {100, 101});
    EXPECT_EQ(claim.added, (std::vector<KeyBinding>{{101, uUmlaut, uUmlaut}}));
}

TEST(KeyBindings, ClaimsNothingWhenSpareKeysRunOut)
{
    KeyBindings bindings;
    EXPECT_THROW(bindings.claim({euro, uUmlaut, eAcute}, {euro, uUmlaut, eAcute}, {100}), KeySenderFailed);
    EXPECT_FALSE(bindings.holds(euro));
    EXPECT_TRUE(bindings.releaseAll().empty());
}

TEST(KeyBindings, ReleaseAllHandsBackEveryBinding)
{
    KeyBindings bindings;
    bindings.claim({euro}, {euro}, {100});
    bindings.claim({eAcute}, {eAcute}, {101});
    EXPECT_EQ(bindings.releaseAll(), (std::vector<KeyBinding>{{100, euro, euro}, {101, eAcute, eAcute}}));
    EXPECT_FALSE(bindings.holds(euro));
}

} // namespace
} // namespace vt::x11
