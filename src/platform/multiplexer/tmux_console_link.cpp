#include "platform/multiplexer/client_process.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/multiplexer/server_watch.h"
#include "platform/multiplexer/tmux_keys.h"
#include "platform/multiplexer/tmux_target.h"
#include "platform/multiplexer/tmux_watch.h"

#include "platform/failures.h"

namespace vt::multiplexer {

namespace {

bool saysNotFound(const std::string& output)
{
    // Not "no current client": copy mode's f, g, t, F and T say that.
    for (const char* missing : {"can't find", "no server running", "error connecting"}) {
        if (output.find(missing) != std::string::npos)
            return true;
    }
    return false;
}

// Runs one tmux call; what failed is thrown in the operator's words.
// A client killed on the timeout while it had keys to type may still have
// handed them over (a stopped server types them once it runs again).
std::string runTmux(std::vector<std::string> args, const std::string& program, const std::string& what,
                    const std::string& ifUnknown, bool typesKeys = false)
{
    args.insert(args.begin(), program);
    const ClientResult result = runClient(args, kClientTimeoutMs);
    if (!result.started)
        throw ConsoleNotFound(what + " (tmux could not be run: " + result.output + ")");
    const std::string unknown = unknownOutcome("tmux", result, kClientTimeoutMs);
    if (result.timedOut && typesKeys)
        throw DeliveryUnknown(unknown + " " + ifUnknown);
    if (!unknown.empty())
        throw KeySenderFailed(unknown + " " + ifUnknown);
    if (result.exitCode == 0)
        return result.output;
    // No server, no session, no window: all the same to the operator, and
    // the socket path tmux names would only crowd the report.
    if (saysNotFound(result.output))
        throw ConsoleNotFound(what);
    throw KeySenderFailed("tmux failed " + ifUnknown + ": " + firstLine(result.output));
}

class TmuxKeySender : public KeySender {
public:
    TmuxKeySender(std::string program, std::string name, TmuxPane pane)
        : program_(std::move(program)), name_(std::move(name)), pane_(std::move(pane))
    {
    }

    // The pane's output is streamed to a control-mode client.
    ConsoleSight sight() const override { return {true, true, ""}; }

    std::unique_ptr<StepWatch> watch(const StepExpectation& expected, SightingSink sink) override
    {
        return watchTmuxPane(program_, pane_, expected, std::move(sink));
    }

protected:
    // One tmux call for the whole step: tmux runs a command list as one unit,
    // and the list fails before its first key when the pane is gone. A pane in
    // a mode (copy mode after the operator scrolled back, or any wheel scroll
    // with "mouse on") would take the keys as the mode's bindings and exit 0
    // with nothing typed: "copy-mode -q" leaves every mode first, in the same
    // list, so no mode can be entered in between.
    void typeStep(const std::vector<KeyChunk>& step) override
    {
        std::vector<std::string> args{"copy-mode", "-q", "-t", pane_.id, ";"};
        const std::vector<std::string> typing = tmuxTypingArgs(pane_.id, keysOfStep(step));
        args.insert(args.end(), typing.begin(), typing.end());
        runTmux(args, program_, "the tmux pane of '" + name_ + "' closed; nothing was typed",
                "while typing into '" + name_ + "'; the line may be incomplete", true);
    }

private:
    std::string program_;
    std::string name_;
    TmuxPane pane_;
};

} // namespace

std::unique_ptr<KeySender> TmuxConsoleLink::activate(const std::string& name)
{
    const TmuxName parsed = parseTmuxName(name);
    const std::string listing =
        runTmux(tmuxListingArgs(), program_, "no tmux session named '" + parsed.session + "' was found",
                "while looking for '" + name + "'");
    const TmuxPane pane = chooseTmuxPane(listing, parsed);
    // A pane whose server died sits at a shell prompt: keys typed there run
    // as shell commands ("stop", "restart"), so none are.
    consoleServer(pane.pid, name);
    return std::make_unique<TmuxKeySender>(program_, name, pane);
}

} // namespace vt::multiplexer
