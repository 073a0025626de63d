#pragma once

#include <cstddef>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/keys/key_action.h"

namespace vt {

// The largest n that "{KEY n}" accepts. A bigger count is far more likely a
// typing slip than a wish to send thousands of keys into the server console.
inline constexpr std::size_t maxRepeat = 999;

// The most keys one string may stand for, repeats counted: a say line or a
// command is a few hundred at most, and a bound keeps a huge stored text from
// costing memory and minutes of typing.
inline constexpr std::size_t maxKeyActions = 10000;

// The most code points of the offending text an error message quotes.
inline constexpr std::size_t maxQuotedToken = 40;

// One lexical piece of keystroke notation. index and length count code points.
struct NotationToken {
    enum class Kind { Key, Modifier, GroupOpen, GroupClose };
    Kind kind = Kind::Key;
    std::variant<char32_t, NamedKey> key = char32_t{0}; // Kind::Key only
    std::size_t repeat = 1;                             // Kind::Key only
    char32_t modifier = 0;                              // Kind::Modifier: '+', '^' or '%'
    std::size_t index = 0;
    std::size_t length = 1;
};

// Splits notation into keys, modifiers and group parentheses, resolving braces.
// Throws NotationError for a brace that is unclosed, empty, stray or names no key,
// for a bad repeat count, and when the keys would number more than maxKeyActions.
std::vector<NotationToken> tokenizeNotation(std::u32string_view text);

// Throws NotationError for the code points [index, index + length) of text.
[[noreturn]] void throwNotationError(std::u32string_view text, std::size_t index, std::size_t length,
                                     std::string_view why);

} // namespace vt
