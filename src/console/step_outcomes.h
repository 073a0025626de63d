#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "console/message_notation.h"
#include "platform/link/console_link.h"
#include "platform/ui/form.h"

namespace vt {

// What became of the console steps, judged from what the console's link sees
// after their keys went: a say line the server repeated, a server that stopped
// or restarted. Judging never holds up a step: each watch ends on its own
// clock, and what it learns is reported when it comes.
//
// A window of its own that is never shown: its timers are the judging's
// bounds, on the loop's clock, and they keep running after the main window
// has closed, while the program waits for the command's outcome.
class StepOutcomes : public Form {
public:
    // A say line the server has not repeated by then is unconfirmed.
    static constexpr std::int64_t kAnswerWaitMs = 5000;
    // How long after a restart's old server ended a new one is looked for.
    static constexpr std::int64_t kBackUpWaitMs = 60000;

    // stopWaitMs: how long a server may take to stop after its command.
    StepOutcomes(Services& services, std::int64_t stopWaitMs);
    ~StepOutcomes() override;

    // A new run: a console that cannot be read back is said so again.
    void newRun();
    // Before a step's keys go, so that no answer is missed: what they should
    // bring about. console is the title they go to.
    void expectSay(KeySender& sender, const std::string& console, const MessageText& message);
    void expectCommand(KeySender& sender, const std::string& console, StepExpectation::Kind kind);
    // The step's keys are about to go: nothing the server does about them
    // can come earlier, so the times reported count from here.
    void stepDelivering();
    // The step's keys went, or may have: its bounds count from now.
    void stepDelivered();
    // Nothing of the step was typed: what it expected is forgotten.
    void stepFailed();

    // A command's outcome is still awaited.
    bool commandPending() const;
    // The last command reached the server, which did not stop within the
    // bound, or a restart only stopped it.
    bool serverDidNotObey() const { return serverDidNotObey_; }
    // Runs the loop until no command's outcome is awaited any more.
    void awaitCommandOutcome();
    // A signal while the program waits for the outcome ends the wait at once.
    bool closeRequested(const std::string& cause) override;
    // Steps whose console is still watched. A say line unanswered past its
    // bound is listened to until the next command's outcome is known, or
    // the program ends.
    std::size_t watching() const { return watched_.size(); }

private:
    enum class Stage {
        Unsent,  // its keys have not gone yet
        Awaited, // within its bound
        Late,    // a say line past its bound, still listened to
        Ended,   // a restart whose old server ended: is a new one coming?
    };
    struct Watched {
        std::uint64_t id = 0;
        StepExpectation::Kind kind = StepExpectation::Kind::Say;
        std::string what; // "the 3-minute message", "stop"
        std::unique_ptr<StepWatch> watch;
        Stage stage = Stage::Unsent;
        bool comebackSeen = true;     // a restarted server can be seen back up
        std::int64_t sendingMs = 0;   // the keys began to go: reported times count from here
        std::int64_t deliveredMs = 0; // they had gone: bounds count from here
        std::unique_ptr<Timer> bound;
    };
    using Entry = std::list<Watched>::iterator;

    void expect(KeySender& sender, StepExpectation expectation, std::string what, const std::string& console,
                bool comebackSeen = true);
    static std::string unreadable(const std::string& console, const std::string& why);
    static std::string unwatched(const std::string& console, const std::string& why, const std::string& command);
    SightingSink sinkFor(std::uint64_t id);
    void startBounds();
    void bind(Watched& watched, std::int64_t untilMs);
    void seen(std::uint64_t id, ConsoleSighting sighting);
    void sayAnswered(Entry entry);
    void commandSeen(Entry entry, ConsoleSighting sighting);
    void oldServerEnded(Entry entry);
    void boundPassed(std::uint64_t id);
    void release(Entry entry);
    void releaseLateLines();
    void report(const std::string& message, bool good);
    std::string secondsSince(const Watched& watched) const;
    std::string stopWaitWords() const;

    std::int64_t stopWaitMs_;
    std::list<Watched> watched_;
    // What a step's watching has to say, said once its keys went.
    struct News {
        std::string message;
        bool good = true;
        bool unreadable = false; // said once per run
    };
    std::vector<News> unsentNews_;
    std::uint64_t nextId_ = 1;
    bool unreadableSaid_ = false;
    std::int64_t sendingMs_ = 0;
    bool serverDidNotObey_ = false;
    bool commandUnsent_ = false;
    bool awaiting_ = false;
    // Lets a sighting posted from a link's thread find this form, or learn
    // that it has gone.
    std::shared_ptr<StepOutcomes*> self_;
};

} // namespace vt
