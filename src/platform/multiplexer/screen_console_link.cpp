#include "platform/failures.h"
#include "platform/multiplexer/client_process.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/multiplexer/screen_keys.h"
#include "platform/multiplexer/screen_sessions.h"

namespace vt::multiplexer {

namespace {

// A client killed on the timeout while it had keys to type may still have
// handed them over.
ClientResult runScreen(const std::string& program, std::vector<std::string> args, const std::string& during,
                       bool typesKeys = false)
{
    args.insert(args.begin(), program);
    ClientResult result = runClient(args, kClientTimeoutMs);
    if (!result.started)
        throw ConsoleNotFound("screen could not be run (" + result.output + ")");
    if (result.timedOut) {
        const std::string why =
            "screen did not answer within " + std::to_string(kClientTimeoutMs / 1000) + " s and was stopped " + during;
        if (typesKeys)
            throw DeliveryUnknown(why);
        throw KeySenderFailed(why);
    }
    return result;
}

class ScreenKeySender : public KeySender {
public:
    ScreenKeySender(std::string program, std::string session)
        : program_(std::move(program)), session_(std::move(session))
    {
    }

protected:
    // One "stuff" for the whole step: screen puts the bytes into the
    // window's input in one go.
    void typeStep(const std::vector<KeyChunk>& step) override
    {
        const std::string text = screenStuffText(keysOfStep(step));
        const ClientResult result = runScreen(program_, {"-S", session_, "-X", "stuff", text},
                                              "while typing into '" + session_ + "'; the line may still arrive", true);
        if (result.exitCode != 0)
            throw ConsoleNotFound("the screen session " + session_ +
                                  " went away; nothing was typed (screen: " + firstLine(result.output) + ")");
    }

private:
    std::string program_;
    std::string session_;
};

} // namespace

std::unique_ptr<KeySender> ScreenConsoleLink::activate(const std::string& name)
{
    // "screen -ls" exits with 1 both when it lists nothing and, in some
    // versions, when it lists sessions: its lines say which.
    const ClientResult listing = runScreen(program_, {"-ls"}, "while looking for '" + name + "'");
    return std::make_unique<ScreenKeySender>(program_, chooseScreenSession(listing.output, name));
}

} // namespace vt::multiplexer
