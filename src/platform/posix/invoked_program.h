#pragma once

#include <string>

namespace vt::posix {

// The path the program was started under, as its argv[0] says: a symlink or a
// renamed copy gives its own name, so its settings have their own section.
// Only a program started with an empty argv[0] falls back to the executable
// file itself.
std::string invokedProgramPath();

} // namespace vt::posix
