#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keys/key_action.h"
#include "platform/link/console_watch.h"

namespace vt {

// One sendKeys call's keys, with its Wait flag.
struct KeyChunk {
    KeyActions keys;
    bool wait = false;
};

// A step's keys in order, as one list; and whether any call asked to wait.
KeyActions keysOfStep(const std::vector<KeyChunk>& step);
bool stepWaits(const std::vector<KeyChunk>& step);

// Types keystrokes into the console one activation found. One sender serves
// one console step and is released when the step ends. The step's sendKeys
// calls are gathered and typed by deliver() as one unit, so that a line reaches
// the console whole or not at all, and a retried step never types onto half a
// line.
class KeySender {
public:
    virtual ~KeySender() = default;

    // Parses notation in full and adds its keys to the step; a notation error
    // adds nothing. With wait, deliver() returns only when the keys have been
    // delivered.
    void sendKeys(std::string_view notation, bool wait);

    // Types every key the step gathered, as one unit, and empties the step.
    // Throws ConsoleNotFound, FocusLost or KeySenderFailed when the keys could
    // not all be delivered; the message says whether any were. Throws
    // DeliveryUnknown when they may have been handed over but whether they
    // arrive is not known: such a step must not be typed again.
    void deliver();

    // What this console lets the program see of its steps. Nothing, unless
    // the link can read it back or watch its server.
    virtual ConsoleSight sight() const { return {}; }

    // Starts watching for what the step is meant to bring about. Called before
    // deliver(), so that no answer is missed; the sink hears what is seen
    // until the watch is destroyed. nullptr when sight() shows nothing.
    virtual std::unique_ptr<StepWatch> watch(const StepExpectation& expected, SightingSink sink)
    {
        (void)expected;
        (void)sink;
        return nullptr;
    }

protected:
    // Types one step's keys, none empty, as one unit.
    virtual void typeStep(const std::vector<KeyChunk>& step) = 0;

private:
    std::vector<KeyChunk> step_;
};

// Finds the server console by its name and makes it ready for keys.
class ConsoleLink {
public:
    virtual ~ConsoleLink() = default;

    // Throws ConsoleNotFound (no window, several, or an empty title) or
    // KeySenderFailed (activation or sender creation failed).
    virtual std::unique_ptr<KeySender> activate(const std::string& title) = 0;
};

} // namespace vt
