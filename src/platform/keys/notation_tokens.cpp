#include "platform/keys/notation_tokens.h"

#include <optional>
#include <string>

#include "platform/failures.h"
#include "platform/keys/key_names.h"
#include "platform/keys/utf8.h"

namespace vt {

namespace {

constexpr std::size_t npos = std::u32string_view::npos;

// Where the brace that opens at index closes. A "}" right after the "{" is the
// brace character itself ("{}}", "{} 3}"), so the search starts after it.
std::size_t findClosingBrace(std::u32string_view text, std::size_t open)
{
    std::size_t from = open + 1;
    if (from < text.size() && text[from] == U'}') {
        const bool escapedBrace = from + 1 < text.size() && (text[from + 1] == U'}' || text[from + 1] == U' ');
        if (!escapedBrace)
            throwNotationError(text, open, 2, "empty braces name no key");
        ++from;
    }
    const std::size_t close = text.find(U'}', from);
    if (close == npos) {
        throwNotationError(text, open, text.size() - open, "the brace is never closed");
    }
    return close;
}

// A raw line break or tab in a message (an outside edit of the settings can put
// one there) would reach the backends as a "character" with effects that differ
// by platform; a line break could even end the say line early and run the rest
// as a server command. Such keys must be written as {ENTER} or {TAB}.
bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

void rejectControlCharacter(std::u32string_view text, std::size_t index, std::size_t length, char32_t c)
{
    if (isControlCharacter(c)) {
        throwNotationError(text, index, length, "a control character; write keys such as {ENTER} or {TAB} by name");
    }
}

std::optional<std::variant<char32_t, NamedKey>> resolveKey(std::u32string_view name)
{
    if (name.size() == 1)
        return name.front();
    if (auto named = namedKeyFromName(encodeUtf8(name)))
        return *named;
    return std::nullopt;
}

// The n of "{KEY n}"; nothing when the text is not a plain decimal number or
// lies outside 1..maxRepeat.
std::optional<std::size_t> readRepeat(std::u32string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::size_t value = 0;
    for (char32_t digit : digits) {
        if (digit < U'0' || digit > U'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(digit - U'0');
        if (value > maxRepeat)
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return value;
}

bool isDecimal(std::u32string_view text)
{
    if (text.empty())
        return false;
    for (char32_t c : text) {
        if (c < U'0' || c > U'9')
            return false;
    }
    return true;
}

// "{NAME}", "{NAME n}", "{c}" or "{c n}", starting at the "{" at index open.
NotationToken readBrace(std::u32string_view text, std::size_t open)
{
    const std::size_t close = findClosingBrace(text, open);
    NotationToken token{.index = open, .length = close - open + 1};
    const std::u32string_view inside = text.substr(open + 1, close - open - 1);

    // The count follows the last blank; a blank in the first place is the key.
    const std::size_t blank = inside.rfind(U' ');
    const bool hasCount = blank != npos && blank > 0;
    const std::u32string_view name = hasCount ? inside.substr(0, blank) : inside;

    const auto key = resolveKey(name);
    if (!key)
        throwNotationError(text, open, token.length, "unknown key name");
    if (const auto* character = std::get_if<char32_t>(&*key)) {
        rejectControlCharacter(text, open, token.length, *character);
    }
    token.key = *key;
    if (hasCount) {
        const std::u32string_view count = inside.substr(blank + 1);
        const auto repeat = readRepeat(count);
        if (!repeat) {
            const std::string why = isDecimal(count) ? "the repeat count must be 1 to " + std::to_string(maxRepeat)
                                                     : "the repeat count is not a number";
            throwNotationError(text, open, token.length, why);
        }
        token.repeat = *repeat;
    }
    return token;
}

NotationToken readPlain(std::u32string_view text, std::size_t index)
{
    NotationToken token{.index = index};
    switch (text[index]) {
    case U'~':
        token.key = NamedKey::Enter;
        break;
    case U'+':
    case U'^':
    case U'%':
        token.kind = NotationToken::Kind::Modifier;
        token.modifier = text[index];
        break;
    case U'(':
        token.kind = NotationToken::Kind::GroupOpen;
        break;
    case U')':
        token.kind = NotationToken::Kind::GroupClose;
        break;
    case U'}':
        throwNotationError(text, index, 1, "a closing brace without an opening one; type it as {}}");
    default:
        rejectControlCharacter(text, index, 1, text[index]);
        token.key = text[index];
        break;
    }
    return token;
}

// The token as the message shows it: control characters as "\x0A".
std::string printableToken(std::u32string_view token)
{
    std::string out;
    for (char32_t c : token) {
        const std::string bytes = encodeUtf8(std::u32string_view(&c, 1));
        out += isControlCharacter(c) ? hexEscaped(bytes) : bytes;
    }
    return out;
}

} // namespace

void throwNotationError(std::u32string_view text, std::size_t index, std::size_t length, std::string_view why)
{
    const std::size_t position = index + 1;
    const auto quoted = text.substr(index, length);
    std::string token = printableToken(quoted.substr(0, maxQuotedToken));
    if (quoted.size() > maxQuotedToken)
        token += "...";
    throw NotationError(position, token,
                        "bad keystroke notation at position " + std::to_string(position) + ": '" + token + "' (" +
                            std::string(why) + ")");
}

std::vector<NotationToken> tokenizeNotation(std::u32string_view text)
{
    std::vector<NotationToken> tokens;
    std::size_t index = 0;
    std::size_t keys = 0;
    while (index < text.size()) {
        NotationToken token = text[index] == U'{' ? readBrace(text, index) : readPlain(text, index);
        if (token.kind == NotationToken::Kind::Key) {
            keys += token.repeat;
            if (keys > maxKeyActions) {
                throwNotationError(text, index, token.length,
                                   "more than " + std::to_string(maxKeyActions) + " keys in one text");
            }
        }
        index += token.length;
        tokens.push_back(token);
    }
    return tokens;
}

} // namespace vt
