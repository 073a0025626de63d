#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vt::posix {

// A command shell (bash, sh, dash, zsh, fish, ksh, mksh, tcsh, csh and their
// usual variants), by the kernel's name of the process or its executable's
// file name.
bool isShellProgram(std::string_view name);

// Whether a shell started with these arguments (argv[0] first) reads its
// commands from the terminal, that is, shows a prompt there: a login shell
// ("-bash"), or one given neither a script nor a command string (-c). A shell
// running `start.sh` does not. Unknown arguments (none could be read) count
// as not interactive, so that a server is never refused by a guess.
bool shellIsInteractive(const std::vector<std::string>& arguments);

} // namespace vt::posix
