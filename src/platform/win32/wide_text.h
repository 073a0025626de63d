#pragma once

#include <string>
#include <string_view>

namespace vt::win32 {

// UTF-8 <-> UTF-16, exact for every code point. Invalid UTF-8 throws a
// Failure naming the bytes; an unpaired surrogate from the system becomes U+FFFD.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

} // namespace vt::win32
