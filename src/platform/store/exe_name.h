#pragma once

#include <string>
#include <string_view>

namespace vt {

// EXEName: the file name of a program path without its directories and its
// extension, taking '/' and '\' as separators ("C:\x\vt-haltward.exe" and
// "/usr/bin/vt-haltward" both give "vt-haltward"). A name that only starts
// with dots, such as ".hidden", has no extension and is kept whole.
std::string exeNameFromPath(std::string_view path);

// The whole file name of a POSIX program path, without its directories: the section
// name on Linux, where a dot is no extension ("vt-haltward.lobby" and
// "vt-haltward.survival" are two programs with two sections).
std::string fileNameFromPath(std::string_view path);

} // namespace vt
