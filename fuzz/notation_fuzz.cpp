// libFuzzer target: keystroke notation. Any bytes either parse into at most
// maxKeyActions keys, whose canonical description parses back to the same
// keys, or fail with a NotationError whose quoted token stays short.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/failures.h"
#include "platform/keys/key_action.h"
#include "platform/keys/keystroke_notation.h"
#include "platform/keys/notation_tokens.h"

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

// A quoted code point is at most 4 bytes, or "\xNN" per byte of a control one.
constexpr std::size_t kLongestToken = vt::maxQuotedToken * 8 + 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view notation(reinterpret_cast<const char*>(data), size);
    vt::KeyActions actions;
    try {
        actions = vt::parseKeystrokes(notation);
    } catch (const vt::NotationError& error) {
        require(error.position() >= 1);
        require(error.token().size() <= kLongestToken);
        return 0;
    }
    require(actions.size() <= vt::maxKeyActions);
    require(vt::parseKeystrokes(vt::describe(actions)) == actions);
    return 0;
}
