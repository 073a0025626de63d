#include <cerrno>
#include <csignal>

#include "platform/failures.h"
#include "platform/multiplexer/client_process.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/multiplexer/screen_keys.h"
#include "platform/multiplexer/screen_sessions.h"
#include "platform/multiplexer/screen_watch.h"
#include "platform/multiplexer/screen_window.h"
#include "platform/multiplexer/server_watch.h"

namespace vt::multiplexer {

namespace {

// A client killed on the timeout while it had keys to type may still have
// handed them over: whether they arrive is not known.
ClientResult runScreen(const std::string& program, std::vector<std::string> args, const std::string& during,
                       bool typesKeys = false)
{
    args.insert(args.begin(), program);
    ClientResult result = runClient(args, kClientTimeoutMs);
    if (!result.started)
        throw ConsoleNotFound("screen could not be run (" + result.output + ")");
    const std::string unknown = unknownOutcome("screen", result, kClientTimeoutMs);
    if (result.timedOut && typesKeys)
        throw DeliveryUnknown(unknown + " " + during);
    if (!unknown.empty())
        throw KeySenderFailed(unknown + " " + during);
    return result;
}

class ScreenKeySender : public KeySender {
public:
    ScreenKeySender(std::string program, ScreenWindow window)
        : program_(std::move(program)), session_(window.session), window_(window.window), process_(window.process)
    {
    }

    // The window's text is copied out while an answer is awaited.
    ConsoleSight sight() const override { return {true, true, ""}; }

    std::unique_ptr<StepWatch> watch(const StepExpectation& expected, SightingSink sink) override
    {
        return watchScreenWindow(program_, {session_, window_, process_}, expected, std::move(sink));
    }

protected:
    // One "stuff" for the whole step, into the window chosen by number: screen
    // puts the bytes into the window's input in one go. For a window that has
    // gone, "-p" makes screen type nothing and still exit 0; asking for the
    // window afterwards tells. A window whose program ran when the keys went
    // is not asked for: when it is gone after them it closed as they arrived,
    // as a server that obeys "stop" at once closes it, and the step's watch
    // tells what became of them. Screen may then be ending with its last
    // window, and a question asked of it meanwhile is never answered.
    void typeStep(const std::vector<KeyChunk>& step) override
    {
        const std::string text = screenStuffText(keysOfStep(step));
        const std::string where = "window " + window_ + " of the screen session " + session_;
        const bool ranBefore = windowProgramRuns();
        const ClientResult result = runScreen(program_, {"-S", session_, "-p", window_, "-X", "stuff", text},
                                              "while typing into " + where + "; the line may be incomplete", true);
        if (result.exitCode != 0)
            throw ConsoleNotFound("the screen session " + session_ +
                                  " went away; nothing was typed (screen: " + firstLine(result.output) + ")");
        if (ranBefore)
            return;
        const ClientResult check = runScreen(program_, {"-S", session_, "-p", window_, "-Q", "number"},
                                             "after typing into " + where + "; the line may be incomplete");
        if (check.exitCode != 0)
            throw ConsoleNotFound("the " + where + " closed; nothing was typed (screen: " + firstLine(check.output) +
                                  ")");
    }

private:
    bool windowProgramRuns() const { return ::kill(process_, 0) == 0 || errno == EPERM; }

    std::string program_;
    std::string session_;
    std::string window_;
    pid_t process_;
};

} // namespace

std::unique_ptr<KeySender> ScreenConsoleLink::activate(const std::string& name)
{
    // "screen -ls" exits with 1 both when it lists nothing and, in some
    // versions, when it lists sessions: its lines say which.
    const ClientResult listing = runScreen(program_, {"-ls"}, "while looking for '" + name + "'");
    const ScreenName parsed = parseScreenName(listing.output, name);
    const std::string session = chooseScreenSession(listing.output, parsed.session);
    const ClientResult windows =
        runScreen(program_, {"-S", session, "-Q", "windows", kScreenWindowFormat}, "while looking for '" + name + "'");
    if (windows.exitCode != 0)
        throw ConsoleNotFound("the screen session " + session + " went away (screen: " + firstLine(windows.output) +
                              ")");
    const std::string window = chooseScreenWindow(windows.output, parsed);
    // "PID.NAME": the screen process, whose children are the windows'.
    const pid_t process = screenWindowProcess(static_cast<pid_t>(std::stol(session)), window);
    // A window whose server died sits at a shell prompt: keys typed there run
    // as shell commands ("stop", "restart"), so none are.
    consoleServer(process, name);
    return std::make_unique<ScreenKeySender>(program_, ScreenWindow{session, window, process});
}

} // namespace vt::multiplexer
