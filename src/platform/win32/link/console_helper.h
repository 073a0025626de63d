#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/link/console_watch.h"

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

// The helper's answers, one frame at a time; false once the program no
// longer reads them.
using HelperSay = std::function<bool(const std::string& frame)>;

// The helper's side of a watch, attached to the console: notes the cursor,
// says who is attached, then hands on the rows the output adds for as long
// as asked. Returns Typed when it watched, Failed when it could not.
WriteOutcome watchAttachedConsole(const WatchRequest& request, const HelperSay& say);

// The program's side, one helper per call.
// Every process and what its console is; throws KeySenderFailed.
std::vector<ConsoleProbe> probeConsolesInHelper(const std::string& title);
// Types one step; throws KeySenderFailed, or ConsoleNotFound when the console
// went away after the keys went in and before they were read.
WriteOutcome writeToConsoleInHelper(const WriteRequest& request);
// Starts watching a console for what a step is meant to bring about, before
// its keys go in: returns once the helper has noted where the output stands
// and who is attached, and goes on watching on threads of its own. The
// server's programs are watched for their end (Stop, Restart), the output
// for the answer (Say) or the missing restart script (Restart). A watch that
// could not begin sees nothing.
std::unique_ptr<StepWatch> watchConsoleInHelper(const WatchRequest& request, const StepExpectation& expected,
                                                SightingSink sink);

} // namespace vt::win32
