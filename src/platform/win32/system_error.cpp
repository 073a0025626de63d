#include "platform/win32/system_error.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/wide_text.h"

namespace vt::win32 {

std::string systemMessage(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    // The system's text ends with ".\r\n"; the code follows it in our message.
    while (!text.empty() && std::wstring_view(L"\r\n .").find(text.back()) != std::wstring_view::npos)
        text.pop_back();
    std::string message = text.empty() ? "system error" : toUtf8(text);
    return message + " (error " + std::to_string(code) + ")";
}

} // namespace vt::win32
