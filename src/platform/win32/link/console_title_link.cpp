#include "platform/win32/link/console_title_link.h"

#include <memory>

#include "platform/failures.h"
#include "platform/win32/link/console_choice.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_input_sender.h"

namespace vt::win32 {

std::unique_ptr<KeySender> Win32ConsoleTitleLink::activate(const std::string& title)
{
    const ConsoleChoice choice = chooseConsoleByTitle(probeConsolesInHelper(title), title);
    return std::make_unique<ConsoleProcessSender>(choice.processes, choice.console, title);
}

void ConsoleProcessSender::typeStep(const std::vector<KeyChunk>& step)
{
    const WriteOutcome outcome =
        writeToConsoleInHelper({processes_, console_, stepWaits(step), title_, recordBytes(keysOfStep(step))});
    if (outcome.status == WriteOutcome::Status::NotReached)
        throw ConsoleNotFound("the console '" + title_ + "' has closed; nothing was typed");
    if (outcome.status == WriteOutcome::Status::Failed)
        throw KeySenderFailed(outcome.message);
}

} // namespace vt::win32
