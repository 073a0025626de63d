#include "platform/win32/store/module_name.h"

#include <windows.h>

#include "platform/failures.h"
#include "platform/store/exe_name.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

std::wstring runningExePath()
{
    // Long paths need more than MAX_PATH; grow until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw Failure("could not read the program's own file name: " + systemMessage(GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    throw Failure("the program's own file name is too long to read");
}

std::string runningExeName()
{
    return exeNameFromPath(toUtf8(runningExePath()));
}

} // namespace vt::win32
