#include "settings/setting_keys.h"

#include <charconv>
#include <cmath>

#include "platform/failures.h"

namespace vt {

namespace {

std::string_view trimBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

// Surrounding blanks are forgiven, as the usual text-to-number conversions
// forgive them; anything else that is not a finite number is refused.
float parseTwips(std::string_view text)
{
    const std::string_view number = trimBlanks(text);
    float value = 0;
    const char* end = number.data() + number.size();
    auto [stop, error] = std::from_chars(number.data(), end, value);
    if (number.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        throw BadStoredValue("is not a number");
    return value;
}

// A tickbox holds 0 (unticked) or 1 (ticked); any other number is not a state it can show.
std::int16_t parseTick(std::string_view text)
{
    const std::string_view number = trimBlanks(text);
    int value = 0;
    const char* end = number.data() + number.size();
    auto [stop, error] = std::from_chars(number.data(), end, value);
    if (number.empty() || error != std::errc() || stop != end || (value != 0 && value != 1))
        throw BadStoredValue("is not a tick (0 or 1)");
    return static_cast<std::int16_t>(value);
}

std::string formatTwips(float twips)
{
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, twips);
    (void)error; // 32 characters always hold the shortest form of a float
    return std::string(buffer, end);
}

std::string formatTick(std::int16_t tick)
{
    return std::to_string(tick);
}

} // namespace vt
