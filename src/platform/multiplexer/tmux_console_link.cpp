#include "platform/multiplexer/client_process.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/multiplexer/tmux_keys.h"
#include "platform/multiplexer/tmux_target.h"

#include "platform/failures.h"

namespace vt::multiplexer {

namespace {

bool saysNotFound(const std::string& output)
{
    for (const char* missing : {"can't find", "no server running", "error connecting", "no current"}) {
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
    if (result.timedOut) {
        const std::string why =
            "tmux did not answer within " + std::to_string(kClientTimeoutMs / 1000) + " s and was stopped " + ifUnknown;
        if (typesKeys)
            throw DeliveryUnknown(why);
        throw KeySenderFailed(why);
    }
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
    TmuxKeySender(std::string program, std::string name, std::string window)
        : program_(std::move(program)), name_(std::move(name)), window_(std::move(window))
    {
    }

protected:
    // One tmux call for the whole step: tmux runs a command list as one unit,
    // and the list fails before its first key when the window is gone.
    void typeStep(const std::vector<KeyChunk>& step) override
    {
        runTmux(tmuxTypingArgs(window_, keysOfStep(step)), program_,
                "the tmux window of '" + name_ + "' closed; nothing was typed",
                "while typing into '" + name_ + "'; the line may still arrive", true);
    }

private:
    std::string program_;
    std::string name_;
    std::string window_;
};

} // namespace

std::unique_ptr<KeySender> TmuxConsoleLink::activate(const std::string& name)
{
    const TmuxName parsed = parseTmuxName(name);
    const std::string listing =
        runTmux({"list-windows", "-t", "=" + parsed.session + ":", "-F", kTmuxWindowFormat}, program_,
                "no tmux session named '" + parsed.session + "' was found", "while looking for '" + name + "'");
    return std::make_unique<TmuxKeySender>(program_, name, chooseTmuxWindow(listing, parsed));
}

} // namespace vt::multiplexer
