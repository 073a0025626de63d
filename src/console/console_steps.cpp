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

// A say step of the run, then on to the next timer. A failure leaves this
// step's timer running, to be tried again; a line whose fate is not known is
// not: it may have arrived, so it is reported and the run goes on.
void VT_HALTWARD_MAIN::sayInRun(const TextBox& message, Timer& next, Timer& own)
{
    std::optional<std::string> unknown;
    try {
        runConsoleStep([&](KeySender& sender) {
            SayOnServerConsole(sender, message);
            outcomes_.expectSay(sender, WINDOW_NAME_TEXTBOX.text(), messageOf(message));
        });
    } catch (const DeliveryUnknown& failure) {
        unknown = failure.what();
    }
    next.setEnabled(true);
    own.setEnabled(false);
    if (unknown)
        throw DeliveryUnknown(*unknown + "; the line is not typed again, the run goes on");
}

// A command of unknown fate is never typed again: a second `restart` would
// reach the restarted server. Nobody can tell whether the run did its job,
// so it ends as failed.
void VT_HALTWARD_MAIN::commandInRun(const std::string& keys, StepExpectation::Kind kind)
{
    try {
        runConsoleStep([&](KeySender& sender) {
            SendServerCommand(sender, keys);
            outcomes_.expectCommand(sender, WINDOW_NAME_TEXTBOX.text(), kind);
        });
    } catch (const DeliveryUnknown& failure) {
        failRun(std::string(failure.what()) + "; the command is not typed again, and the run ended as failed");
    }
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
        deliverWatched(*sender);
    } catch (const DeliveryUnknown&) {
        // Not to be retried, so no retry is counted.
        firstFailureMs_.reset();
        throw;
    } catch (const UndeliverableStep& failure) {
        // Five minutes of retries would only repeat this report.
        failRun("gave up at once: " + std::string(failure.what()));
    } catch (const Failure& failure) {
        const std::int64_t now = services().loop.nowMs();
        if (!firstFailureMs_)
            firstFailureMs_ = now;
        if (now - *firstFailureMs_ < kGiveUpAfterMs)
            throw;
        failRun("gave up after 5 minutes: " + std::string(failure.what()));
    }
    firstFailureMs_.reset();
}

// The step's keys as one unit. What it expects is watched for once they went,
// or may have (a line of unknown fate that the server repeats did arrive);
// forgotten when nothing was typed.
void VT_HALTWARD_MAIN::deliverWatched(KeySender& sender)
{
    outcomes_.stepDelivering();
    try {
        sender.deliver();
    } catch (const DeliveryUnknown&) {
        outcomes_.stepDelivered();
        throw;
    } catch (...) {
        outcomes_.stepFailed();
        throw;
    }
    outcomes_.stepDelivered();
}

void VT_HALTWARD_MAIN::failRun(const std::string& why)
{
    endRun();
    runFailed_ = true;
    CURRENT_STATUS_LABEL.setCaption("!!! ABORTED !!!");
    closeIfUnattended();
    throw Failure(why);
}

} // namespace vt
