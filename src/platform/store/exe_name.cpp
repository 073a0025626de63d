#include "platform/store/exe_name.h"

namespace vt {

std::string exeNameFromPath(std::string_view path)
{
    const auto separator = path.find_last_of("/\\");
    auto name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const auto dot = name.find_last_of('.');
    const bool onlyDotsBefore = name.find_first_not_of('.') >= dot;
    if (dot != std::string_view::npos && !onlyDotsBefore) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

// Only '/' separates: on Linux a backslash is part of a file name.
std::string fileNameFromPath(std::string_view path)
{
    const auto separator = path.find_last_of('/');
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

} // namespace vt
