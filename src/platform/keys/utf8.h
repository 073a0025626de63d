#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vt {

// The result of decoding UTF-8. When the bytes are not valid UTF-8, text holds
// the code points before the first bad sequence and badBytes that sequence.
struct Utf8Decoding {
    std::u32string text;
    std::string badBytes;
    bool valid() const { return badBytes.empty(); }
};

// Strict decoding: no overlong forms, no surrogates, nothing above U+10FFFF.
Utf8Decoding decodeUtf8(std::string_view bytes);

// Appends one code point; one that UTF-8 cannot carry becomes U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

std::string encodeUtf8(std::u32string_view text);

// Bytes as "\xC3\x28", for naming bytes that are not valid text in a message.
std::string hexEscaped(std::string_view bytes);

} // namespace vt
