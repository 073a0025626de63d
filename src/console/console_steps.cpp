#include "app/vt_haltward_main.h"
#include "console/message_notation.h"
#include "platform/failures.h"
#include "platform/ui/event_loop.h"

namespace vt {

namespace {

// A step still failing this long after its first failure ends the run: an
// unattended run must end, and say why, rather than wait for ever.
constexpr std::int64_t kGiveUpAfterMs = 5 * 60 * 1000;

} // namespace

std::unique_ptr<KeySender> VT_HALTWARD_MAIN::ActivateServerConsole()
{
    return services().console.activate(WINDOW_NAME_TEXTBOX.text());
}

void VT_HALTWARD_MAIN::SayOnServerConsole(KeySender& sender, const TextBox& message)
{
    checkMessageNotation({messageOf(message)});
    sender.sendKeys("say ", true);
    sender.sendKeys(message.text(), true);
    sender.sendKeys("{Enter}", false);
}

void VT_HALTWARD_MAIN::SendServerCommand(KeySender& sender, const std::string& keys)
{
    sender.sendKeys(keys, true);
}

std::vector<MessageText> VT_HALTWARD_MAIN::messages() const
{
    return runMessages(THREE_MIN_MESSAGE_TEXTBOX.text(), TWO_MIN_MESSAGE_TEXTBOX.text(), ONE_MIN_MESSAGE_TEXTBOX.text(),
                       SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text());
}

MessageText VT_HALTWARD_MAIN::messageOf(const TextBox& message) const
{
    const TextBox* order[] = {&THREE_MIN_MESSAGE_TEXTBOX, &TWO_MIN_MESSAGE_TEXTBOX, &ONE_MIN_MESSAGE_TEXTBOX,
                              &SHUTDOWN_RESTART_MESSAGE_TEXTBOX};
    const auto all = messages();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (order[i] == &message)
            return all[i];
    }
    return {message.name(), message.text()};
}

void VT_HALTWARD_MAIN::sayInRun(const TextBox& message)
{
    runConsoleStep([&](KeySender& sender) { SayOnServerConsole(sender, message); });
}

void VT_HALTWARD_MAIN::commandInRun(const std::string& keys)
{
    runConsoleStep([&](KeySender& sender) { SendServerCommand(sender, keys); });
}

// One step of the timed run, typed as one unit. A failure leaves the step's
// timer enabled, so it is tried again at the next tick, until it has failed
// for five minutes: then the run ends as STOP would end it, and under AutoClose
// the program exits with status 1, so that a scheduler sees the failure. A
// step that can never be delivered ends the run the same way, at once.
void VT_HALTWARD_MAIN::runConsoleStep(const std::function<void(KeySender&)>& keys)
{
    try {
        const std::unique_ptr<KeySender> sender = ActivateServerConsole();
        keys(*sender);
        sender->deliver();
    } catch (const UndeliverableStep& failure) {
        // Five minutes of retries would only repeat this report.
        giveUp(failure.what(), "at once");
    } catch (const Failure& failure) {
        const std::int64_t now = services().loop.nowMs();
        if (!firstFailureMs_)
            firstFailureMs_ = now;
        if (now - *firstFailureMs_ < kGiveUpAfterMs)
            throw;
        giveUp(failure.what());
    }
    firstFailureMs_.reset();
}

void VT_HALTWARD_MAIN::giveUp(const std::string& lastFailure, const std::string& when)
{
    endRun();
    runGaveUp_ = true;
    CURRENT_STATUS_LABEL.setCaption("!!! ABORTED !!!");
    closeIfUnattended();
    throw Failure("gave up " + when + ": " + lastFailure);
}

} // namespace vt
