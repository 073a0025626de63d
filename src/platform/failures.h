#pragma once

#include <stdexcept>
#include <string>

namespace vt {

// Every expected failure of a platform or control operation is one of these.
// The message is written for the server operator: it says what went wrong in
// words they can act on. The event dispatcher catches them, ends the handler
// and reports the message; nothing else catches them.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No window bears the console title, or more than one could be meant.
class ConsoleNotFound : public Failure {
public:
    using Failure::Failure;
};

// Several windows or sessions could be meant; typing into a guessed one is
// never an option.
class ConsoleAmbiguous : public ConsoleNotFound {
public:
    using ConsoleNotFound::ConsoleNotFound;
};

// The console is there, but no server reads it: its foreground program is an
// interactive shell at its prompt, where `say` and `stop` would run as shell
// commands. Nothing is typed; the server may come back, so it is retried as a
// missing console is.
class NoServerRunning : public ConsoleNotFound {
public:
    using ConsoleNotFound::ConsoleNotFound;
};

// The console is there, but its server is held still and would not read the
// keys now (a Windows console with a selection in progress: the first key
// would only end the selection). Nothing is typed; retried as a missing
// console is.
class ConsolePaused : public ConsoleNotFound {
public:
    using ConsoleNotFound::ConsoleNotFound;
};

// The input focus left the console window while keys were being typed.
class FocusLost : public Failure {
public:
    using Failure::Failure;
};

// The keystroke sender could not be created or could not deliver keys.
class KeySenderFailed : public Failure {
public:
    using Failure::Failure;
};

// The keys may have been handed over, but whether they reached the console is
// not known: a client or helper was ended after it had them (it may still
// deliver them, as a stopped tmux server does once it runs again). Typing
// the step again could make a line arrive twice, and a second `restart`
// would reach the freshly restarted server: such a step is never retried.
class DeliveryUnknown : public Failure {
public:
    using Failure::Failure;
};

// The step's keys can never be delivered through this console as they are (a
// key the link has no way to send, a step longer than it carries); nothing of
// the step was typed, and trying again cannot help.
class UndeliverableStep : public KeySenderFailed {
public:
    using KeySenderFailed::KeySenderFailed;
};

// A keystroke string is not valid notation; nothing of it was typed.
class NotationError : public Failure {
public:
    NotationError(std::size_t position, std::string token, const std::string& why);
    std::size_t position() const { return position_; }
    const std::string& token() const { return token_; }

private:
    std::size_t position_;
    std::string token_;
};

// A stored setting does not convert to what its key holds.
class BadStoredValue : public Failure {
public:
    using Failure::Failure;
};

// The settings store could not be read or written.
class StoreError : public Failure {
public:
    using Failure::Failure;
};

// The operator's words for an exception that is none of the above.
std::string describeUnexpected(const std::exception& error);

} // namespace vt
