#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/link/console_link.h"
#include "platform/link/title_match.h"

namespace vt::headless {

using WindowId = int;

// One sendKeys call's keys as they reached a window.
struct TypedKeys {
    std::int64_t atMs; // virtual time (from the clock function)
    WindowId window;
    std::string title; // that window's title at the time
    std::string keys;  // describe() of the actions that reached it, e.g. "say hi{ENTER}"
    bool wait;         // the Wait flag of the sendKeys call
};

// Simulated top-level windows with one input focus, recording every key that
// reaches a window as text, with injectable faults. Window ids count from 1 in
// the order openWindow/openWindowAt are called; 0 means no window. Senders
// refer back to the console, so they must not outlive it.
class HeadlessConsole : public ConsoleLink {
public:
    explicit HeadlessConsole(std::function<std::int64_t()> clockMs);

    // A top-level window, not focused. A console window (showsCommand) may
    // also be found as "TITLE - command", as on Windows.
    WindowId openWindow(std::string title, bool showsCommand = false);
    void openWindowAt(std::int64_t atMs, std::string title); // appears once the clock reaches atMs
    void closeWindow(WindowId id);
    void setTitle(WindowId id, std::string title);
    WindowId focusedWindow() const; // 0 when none
    void focus(WindowId id);        // 0 takes the focus from every window

    // Faults:
    // The next activation focuses the console, then thief takes the focus
    // before the step types: another program got in between.
    void stealFocusAfterActivation(WindowId thief);
    void failSenderCreation(bool fail); // activate() finds the window, then throws KeySenderFailed
    void grabKeyboard(bool grabbed);    // another program holds the keyboard: no step may type
    // The next step's keys reach the window, then the sender loses track of
    // them, as a client killed after it was handed the keys: the step fails
    // with DeliveryUnknown although the line arrived.
    void loseTrackOfNextStep();
    // Steps of more keys than this are refused as undeliverable, as a link
    // with a limit on what one step carries does; 0 is no limit.
    void limitStepKeys(std::size_t keys);
    // Runs as each step types, before its keys arrive: a real console takes
    // time to type into (spend the loop's clock here).
    void whileTyping(std::function<void()> typing);
    // Runs as each step has typed, after its keys arrived: a link that checks
    // on the console afterwards (screen asks for the window) takes time too.
    void afterTyping(std::function<void()> checking);

    // Reading back. What the console lets the program see of its steps
    // (nothing until set); each watch the program starts is kept, and a test
    // reports what the console shows through sighted().
    void setSight(ConsoleSight sight);
    // watch() throws KeySenderFailed with this message instead of watching.
    void failWatches(std::string why);
    // Calls the sink of the oldest live watch expecting kind (and, when one
    // is given, that answer), as a link's thread would on seeing it; false
    // when no such watch lives.
    bool sighted(StepExpectation::Kind kind, ConsoleSighting sighting, const std::string& answer = {});
    std::vector<StepExpectation> watchedExpectations() const; // every watch started, in order
    std::size_t liveWatches() const;                          // watches not yet destroyed

    // Records:
    int activations() const;                          // successful activate() calls
    const std::vector<TypedKeys>& transcript() const; // one entry per sendKeys call of a delivered step, in order
    std::string typedInto(WindowId id) const;         // all keys that reached the window, concatenated
    std::vector<std::string> linesTypedInto(WindowId id) const; // split at "{ENTER}" (without it), complete lines only

    std::unique_ptr<KeySender> activate(const std::string& title) override;

private:
    class Sender;
    class Watch;
    struct WatchRecord {
        StepExpectation expected;
        SightingSink sink;
        bool live = true;
    };

    struct Window {
        std::string title;
        bool showsCommand = false;
        std::int64_t appearsAtMs = 0;
        bool closed = false;
    };

    bool isOpen(WindowId id) const;
    Window& existing(WindowId id);
    // Throws unless a step may type into the window now.
    void checkReady(WindowId window, const std::string& consoleTitle) const;
    void record(TypedKeys entry);

    std::function<std::int64_t()> clockMs_;
    std::map<WindowId, Window> windows_;
    WindowId nextId_ = 1;
    WindowId focused_ = 0;
    std::optional<WindowId> focusThief_;
    bool failSenderCreation_ = false;
    bool keyboardGrabbed_ = false;
    bool loseTrackOfNextStep_ = false;
    std::size_t stepKeyLimit_ = 0;
    std::function<void()> typing_;
    std::function<void()> checking_;
    ConsoleSight sight_;
    std::string watchFailure_;
    std::vector<std::shared_ptr<WatchRecord>> watches_;
    int activations_ = 0;
    std::vector<TypedKeys> transcript_;
};

} // namespace vt::headless
