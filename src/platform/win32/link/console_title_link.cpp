#include "platform/win32/link/console_title_link.h"

#include <algorithm>
#include <memory>

#include "platform/failures.h"
#include "platform/win32/link/console_choice.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_input_sender.h"
#include "platform/win32/link/console_programs.h"
#include "platform/win32/store/module_name.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

// Long enough for a server under load to answer a say line, and for the
// program to see an answer that comes after it stopped waiting.
constexpr std::uint32_t kReadBackMs = 8000;

std::vector<ConsoleProgram> programsOf(const ConsoleChoice& choice, const std::vector<ConsoleProbe>& probes)
{
    std::vector<ConsoleProgram> programs;
    for (const ConsoleProbe& probe : probes) {
        if (std::find(choice.processes.begin(), choice.processes.end(), probe.process) != choice.processes.end())
            programs.push_back({probe.process, probe.image, 0});
    }
    return programs;
}

} // namespace

std::unique_ptr<KeySender> Win32ConsoleTitleLink::activate(const std::string& title)
{
    const std::vector<ConsoleProbe> probes = probeConsolesInHelper(title);
    const ConsoleChoice choice = chooseConsoleByTitle(probes, title);
    if (consoleReaders(programsOf(choice, probes), toUtf8(runningExePath())).atShellPrompt)
        throw NoServerRunning("the console '" + title +
                              "' shows a shell prompt: the server is not running there; nothing was typed");
    return std::make_unique<ConsoleProcessSender>(choice.processes, choice.console, title);
}

std::unique_ptr<StepWatch> ConsoleProcessSender::watch(const StepExpectation& expected, SightingSink sink)
{
    const std::uint32_t readRowsMs = expected.kind == StepExpectation::Kind::Stop ? 0 : kReadBackMs;
    return watchConsoleInHelper({processes_, console_, readRowsMs}, expected, std::move(sink));
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
