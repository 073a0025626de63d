#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/message_notation.h"
#include "console/step_outcomes.h"
#include "platform/link/console_link.h"
#include "platform/ui/form.h"

namespace vt {

class NotationError;
class Settings;

// The main window: the program starts with it and ends when it unloads. Its
// controls hold all state of the stop/restart sequence and the texts typed
// into the server console.
class VT_HALTWARD_MAIN : public Form {
public:
    explicit VT_HALTWARD_MAIN(Services& services);

    // Controls, in tab order.
    CommandButton START_STOP_BUTTON;
    CommandButton ENABLE_NO_WARNINGS_BUTTON;
    CommandButton SHUTDOWN_NO_WARNINGS_BUTTON;
    CommandButton RESTART_NO_WARNINGS_BUTTON;
    TickBox AUTOSTART_SHUTDOWN_TICKBOX;
    TickBox AUTOSTART_RESTART_TICKBOX;
    TickBox AUTOCLOSE_TICKBOX;
    CommandButton SETTINGS_BUTTON;
    CommandButton EXIT_BUTTON;
    CommandButton ABOUT_BUTTON;
    Label STATUS_LABEL;
    Label CURRENT_STATUS_LABEL;
    Label APP_EXE_NAME_TEXTBOX;
    Label EXE_NAME_LABEL;
    Label VT_HALTWARD_TITLE_1;
    Frame NO_WARNINGS_FRAME;
    Label SERVER_NAME_LABEL;
    Label S_N_LABEL;
    TextBox THREE_MIN_MESSAGE_TEXTBOX;
    TextBox TWO_MIN_MESSAGE_TEXTBOX;
    TextBox ONE_MIN_MESSAGE_TEXTBOX;
    TextBox SHUTDOWN_RESTART_MESSAGE_TEXTBOX;
    TextBox WINDOW_NAME_TEXTBOX;

    vt::Timer AUTOSTART_TIMER;
    vt::Timer MIN_THREE_MESSAGE_TIMER;
    vt::Timer MIN_TWO_MESSAGE_TIMER;
    vt::Timer MIN_ONE_MESSAGE_TIMER;
    vt::Timer SHUTDOWN_RESTART_MESSAGE_TIMER;
    vt::Timer AUTOCLOSE_TIMER;

    // Lifecycle and the window's own buttons (vt_haltward_main.cpp).
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void EXIT_BUTTON_Click();
    void ABOUT_BUTTON_Click();
    void SETTINGS_BUTTON_Click();

    // The stop/restart sequence (console/sequence.cpp).
    void START_STOP_BUTTON_Click();
    void AUTOSTART_SHUTDOWN_TICKBOX_Click();
    void AUTOSTART_RESTART_TICKBOX_Click();
    void AUTOSTART_TIMER_Timer();
    void MIN_THREE_MESSAGE_TIMER_Timer();
    void MIN_TWO_MESSAGE_TIMER_Timer();
    void MIN_ONE_MESSAGE_TIMER_Timer();
    void SHUTDOWN_RESTART_MESSAGE_TIMER_Timer();
    void AUTOCLOSE_TIMER_Timer();

    // The immediate actions (console/immediate_actions.cpp).
    void ENABLE_NO_WARNINGS_BUTTON_Click();
    void SHUTDOWN_NO_WARNINGS_BUTTON_Click();
    void RESTART_NO_WARNINGS_BUTTON_Click();

    // Console steps (console/console_steps.cpp).
    std::unique_ptr<KeySender> ActivateServerConsole();
    void SayOnServerConsole(KeySender& sender, const TextBox& message);
    void SendServerCommand(KeySender& sender, const std::string& keys);

    // 0; 1 when the program closed itself after a run that failed; 4 when
    // the last command reached a server that did not stop, or a restart
    // only stopped it.
    int exitStatus() const;
    // After AutoClose has closed the window: runs on until the command's
    // outcome is known, at most its stop bound after it. After any other
    // close it returns at once.
    void awaitCommandOutcome();
    // What became of the console steps.
    const StepOutcomes& outcomes() const { return outcomes_; }
    // Whether a run is armed or under way (any of the run's timers enabled).
    bool runActive() const;
    // Whether a run failed: it gave up on a console that stayed unreachable,
    // or its command may or may not have reached the server.
    bool runFailed() const { return runFailed_; }
    // Whether a request from outside closed the window before the run's
    // command was typed.
    bool runAborted() const { return runAborted_; }
    // Whether a stored AutoStart tick was refused at load (a message that
    // can never be typed).
    bool armingRefused() const { return armingRefused_; }
    bool closeRequested(const std::string& cause) override;

private:
    void wireEvents();
    void storePlacementAndTicks();
    void loadTicks(const Settings& settings);
    void armAtStart(TickBox& first, TickBox& second);
    [[noreturn]] void refuseToArm(const NotationError& error);
    void stopAllTimers();
    void closeIfUnattended();
    void endRun();
    void afterImmediateCommand();

    // The four texts typed on the console, each with the name the operator knows it by.
    std::vector<MessageText> messages() const;
    MessageText messageOf(const TextBox& message) const;
    void sayInRun(const TextBox& message, Timer& next, Timer& own);
    void commandInRun(const std::string& keys, StepExpectation::Kind kind);
    void runConsoleStep(const std::function<void(KeySender&)>& keys);
    void deliverWatched(KeySender& sender);
    void immediateCommand(const std::string& keys, StepExpectation::Kind kind);
    [[noreturn]] void failRun(const std::string& why);
    std::optional<std::string> stepAhead() const;

    // The six timers of a run, in the order they fire.
    const std::array<Timer*, 6> runTimers_{
        &AUTOSTART_TIMER,       &MIN_THREE_MESSAGE_TIMER,        &MIN_TWO_MESSAGE_TIMER,
        &MIN_ONE_MESSAGE_TIMER, &SHUTDOWN_RESTART_MESSAGE_TIMER, &AUTOCLOSE_TIMER};
    StepOutcomes outcomes_;
    std::optional<std::int64_t> firstFailureMs_; // of the step now being retried
    int exitStatus_ = 0;
    bool runFailed_ = false;
    bool runAborted_ = false;
    bool armingRefused_ = false;
    bool closedByAutoClose_ = false;
};

} // namespace vt
