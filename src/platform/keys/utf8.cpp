#include "platform/keys/utf8.h"

#include <array>

namespace vt {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// How many bytes a sequence with this lead byte has, and the smallest code
// point it may encode (anything below is an overlong form). 0 for a bad lead.
struct LeadByte {
    std::size_t length;
    char32_t minimum;
    char32_t bits;
};

LeadByte readLead(unsigned char byte)
{
    if (byte < 0x80)
        return {1, 0, byte};
    if ((byte & 0xE0) == 0xC0)
        return {2, 0x80, char32_t(byte & 0x1F)};
    if ((byte & 0xF0) == 0xE0)
        return {3, 0x800, char32_t(byte & 0x0F)};
    if ((byte & 0xF8) == 0xF0)
        return {4, 0x10000, char32_t(byte & 0x07)};
    return {0, 0, 0};
}

bool isScalarValue(char32_t codePoint)
{
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

} // namespace

Utf8Decoding decodeUtf8(std::string_view bytes)
{
    Utf8Decoding result;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const LeadByte lead = readLead(static_cast<unsigned char>(bytes[at]));
        char32_t codePoint = lead.bits;
        std::size_t used = 1;
        while (lead.length != 0 && used < lead.length && at + used < bytes.size() &&
               isContinuation(static_cast<unsigned char>(bytes[at + used]))) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(bytes[at + used]) & 0x3F);
            ++used;
        }
        if (lead.length == 0 || used < lead.length || codePoint < lead.minimum || !isScalarValue(codePoint)) {
            result.badBytes = std::string(bytes.substr(at, used));
            return result;
        }
        result.text.push_back(codePoint);
        at += used;
    }
    return result;
}

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (!isScalarValue(codePoint))
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
        return;
    }
    std::array<char, 4> buffer{};
    std::size_t length = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    for (std::size_t i = length - 1; i > 0; --i) {
        buffer[i] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    static constexpr std::array<unsigned char, 5> leadMarks{0, 0, 0xC0, 0xE0, 0xF0};
    buffer[0] = static_cast<char>(leadMarks[length] | codePoint);
    out.append(buffer.data(), length);
}

std::string encodeUtf8(std::u32string_view text)
{
    std::string out;
    for (char32_t codePoint : text)
        appendUtf8(out, codePoint);
    return out;
}

std::string hexEscaped(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out += "\\x";
        out.push_back(digits[value >> 4]);
        out.push_back(digits[value & 0x0F]);
    }
    return out;
}

} // namespace vt
