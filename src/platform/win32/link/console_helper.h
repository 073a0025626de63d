#pragma once

#include <string>
#include <vector>

#include "platform/win32/link/console_choice.h"
#include "platform/win32/link/console_helper_protocol.h"

namespace vt::win32 {

// Reaching another program's console means attaching to it, and while
// attached a process gets that console's control events: Ctrl+C, Ctrl+Break
// and, when its window is closed, an end that no handler can refuse. So the
// program never attaches itself: it starts itself again with this argument
// as a short-lived helper that does the attaching, one request per helper.
inline constexpr wchar_t kConsoleHelperArgument[] = L"--console-helper";

// The helper: reads one request from standard input, answers on standard
// output as it goes. Returns its exit status (2 for a request it cannot read).
int runConsoleHelper();

// The program's side, one helper per call.
// Every process and what its console is; throws KeySenderFailed.
std::vector<ConsoleProbe> probeConsolesInHelper(const std::string& title);
// Types one step; throws KeySenderFailed, or ConsoleNotFound when the console
// went away after the keys went in and before they were read.
WriteOutcome writeToConsoleInHelper(const WriteRequest& request);

} // namespace vt::win32
