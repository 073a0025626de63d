#pragma once

#include <string>

namespace vt::multiplexer {

// The session ("PID.NAME") whose name is exactly name, from the output of
// "screen -ls". Throws ConsoleNotFound (none, or only dead ones) or
// ConsoleAmbiguous (two live sessions of that name): "screen -S NAME" alone
// would pick by prefix or refuse.
std::string chooseScreenSession(const std::string& listing, const std::string& name);

} // namespace vt::multiplexer
