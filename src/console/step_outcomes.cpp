#include "console/step_outcomes.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

#include "platform/ui/event_loop.h"

namespace vt {

namespace {

bool isCommand(StepExpectation::Kind kind)
{
    return kind != StepExpectation::Kind::Say;
}

std::string plural(std::int64_t count, const std::string& unit)
{
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

} // namespace

StepOutcomes::StepOutcomes(Services& services, std::int64_t stopWaitMs)
    : Form(services, "STEP_OUTCOMES", "step outcomes", WindowStyle{}), stopWaitMs_(stopWaitMs),
      self_(std::make_shared<StepOutcomes*>(this))
{
}

// The watches end first: no sighting comes after that, and one already
// posted finds no form.
StepOutcomes::~StepOutcomes()
{
    watched_.clear();
    self_.reset();
}

void StepOutcomes::newRun()
{
    unreadableSaid_ = false;
}

// An empty line (the final message left blank) is typed as "say " alone, to
// which a server answers only with its usage: there is nothing to confirm.
void StepOutcomes::expectSay(KeySender& sender, const std::string& console, const MessageText& message)
{
    const std::string answer = typedCharacters(message.text);
    if (answer.find_first_not_of(' ') == std::string::npos)
        return;
    if (!sender.sight().readable) {
        unsentNews_.push_back({unreadable(console, "its lines are typed, not confirmed"), true, true});
        return;
    }
    expect(sender, {StepExpectation::Kind::Say, answer}, "the " + message.description, console);
}

void StepOutcomes::expectCommand(KeySender& sender, const std::string& console, StepExpectation::Kind kind)
{
    commandUnsent_ = true;
    const std::string command = kind == StepExpectation::Kind::Restart ? "restart" : "stop";
    const ConsoleSight sight = sender.sight();
    if (!sight.serverWatched) {
        unsentNews_.push_back({unwatched(console, sight.unwatchedWhy, command), true, false});
        return;
    }
    expect(sender, {kind, {}}, command, console, sight.comebackSeen);
}

std::string StepOutcomes::unreadable(const std::string& console, const std::string& why)
{
    return "TYPED the console '" + console + "' cannot be read back: " + why;
}

std::string StepOutcomes::unwatched(const std::string& console, const std::string& why, const std::string& command)
{
    return "UNWATCHED the server behind '" + console + "' cannot be watched" + (why.empty() ? "" : ": " + why) +
           "; whether it obeys " + command + " is not known";
}

// A link that cannot start its watch leaves the step as one it cannot see:
// the keys still go, and nothing is claimed about them.
void StepOutcomes::expect(KeySender& sender, StepExpectation expectation, std::string what, const std::string& console,
                          bool comebackSeen)
{
    const std::uint64_t id = nextId_++;
    std::unique_ptr<StepWatch> watch;
    std::string why;
    try {
        watch = sender.watch(expectation, sinkFor(id));
    } catch (const std::exception& error) {
        why = error.what();
    }
    if (!watch) {
        if (isCommand(expectation.kind))
            unsentNews_.push_back({unwatched(console, why, what), true, false});
        else
            unsentNews_.push_back(
                {unreadable(console, why.empty() ? "its lines are typed, not confirmed" : why), true, true});
        return;
    }
    Watched& watched = watched_.emplace_back();
    watched.id = id;
    watched.kind = expectation.kind;
    watched.what = std::move(what);
    watched.watch = std::move(watch);
    watched.comebackSeen = comebackSeen;
}

// Called from the link's threads: the sighting goes to the loop's thread.
SightingSink StepOutcomes::sinkFor(std::uint64_t id)
{
    EventLoop* loop = &services().loop;
    std::weak_ptr<StepOutcomes*> self = self_;
    const std::string step = name() + ".sighting";
    return [loop, self, id, step](ConsoleSighting sighting) {
        loop->post(step, [self, id, sighting] {
            if (const auto outcomes = self.lock())
                (*outcomes)->seen(id, sighting);
        });
    };
}

// A link may check on the console after the keys (screen asks whether the
// window is still there): under load that takes a while, and a server that
// stops in 2 s must never be reported as stopping sooner.
void StepOutcomes::stepDelivering()
{
    sendingMs_ = services().loop.nowMs();
}

// The bounds start from a task of their own, after the step's handler: a
// timer started in a tick's handler would count from when the tick was due,
// and a step may take a while to type. Each bound counts from its keys.
void StepOutcomes::stepDelivered()
{
    const std::int64_t now = services().loop.nowMs();
    // A new command: what the last one's server did no longer tells.
    if (std::exchange(commandUnsent_, false))
        serverDidNotObey_ = false;
    for (Watched& watched : watched_) {
        if (watched.stage == Stage::Unsent) {
            watched.stage = Stage::Awaited;
            watched.sendingMs = std::min(sendingMs_, now);
            watched.deliveredMs = now;
        }
    }
    for (const News& news : std::exchange(unsentNews_, {})) {
        // Every line of a run goes the same way: said once, not per line.
        if (news.unreadable && std::exchange(unreadableSaid_, true))
            continue;
        report(news.message, news.good);
    }
    std::weak_ptr<StepOutcomes*> self = self_;
    services().loop.post(name() + ".bounds", [self] {
        if (const auto outcomes = self.lock())
            (*outcomes)->startBounds();
    });
}

void StepOutcomes::stepFailed()
{
    watched_.remove_if([](const Watched& watched) { return watched.stage == Stage::Unsent; });
    unsentNews_.clear();
    commandUnsent_ = false;
}

void StepOutcomes::startBounds()
{
    for (Watched& watched : watched_) {
        if (watched.stage == Stage::Awaited && !watched.bound)
            bind(watched, watched.deliveredMs + (isCommand(watched.kind) ? stopWaitMs_ : kAnswerWaitMs));
    }
}

void StepOutcomes::bind(Watched& watched, std::int64_t untilMs)
{
    const std::uint64_t id = watched.id;
    watched.bound = std::make_unique<Timer>(*this, "BOUND");
    watched.bound->onTimer = [this, id] { boundPassed(id); };
    watched.bound->setInterval(static_cast<int>(std::max<std::int64_t>(1, untilMs - services().loop.nowMs())));
    watched.bound->setEnabled(true);
}

void StepOutcomes::seen(std::uint64_t id, ConsoleSighting sighting)
{
    const auto entry =
        std::find_if(watched_.begin(), watched_.end(), [id](const Watched& watched) { return watched.id == id; });
    if (entry == watched_.end())
        return;
    if (isCommand(entry->kind)) {
        commandSeen(entry, sighting);
    } else if (sighting == ConsoleSighting::Answered) {
        sayAnswered(entry);
    } else if (sighting == ConsoleSighting::ServerEnded) {
        // No answer can come any more.
        if (entry->stage != Stage::Late)
            report("UNCONFIRMED the server ended before it answered " + entry->what, false);
        release(entry);
    }
}

void StepOutcomes::sayAnswered(Entry entry)
{
    if (entry->stage == Stage::Late)
        report("CONFIRMED the server answered " + entry->what + " late, " + secondsSince(*entry) +
                   " after it was typed",
               true);
    else
        report("CONFIRMED the server answered " + entry->what, true);
    release(entry);
}

void StepOutcomes::commandSeen(Entry entry, ConsoleSighting sighting)
{
    const bool restart = entry->kind == StepExpectation::Kind::Restart;
    if (sighting == ConsoleSighting::NoRestartScript && restart) {
        serverDidNotObey_ = true;
        report("NOT RESTARTED the server stopped but did not restart: it has no restart script "
               "(spigot.yml restart-script)",
               false);
        release(entry);
    } else if (sighting == ConsoleSighting::ServerEnded && entry->stage == Stage::Awaited) {
        if (restart) {
            oldServerEnded(entry);
        } else {
            report("CONFIRMED the server stopped " + secondsSince(*entry) + " after stop", true);
            release(entry);
        }
    } else if (sighting == ConsoleSighting::ServerStarted && entry->stage == Stage::Ended) {
        report("CONFIRMED the server is back up " + secondsSince(*entry) + " after restart", true);
        release(entry);
    } else if (sighting == ConsoleSighting::ConsoleClosed && entry->stage == Stage::Ended) {
        // Not worth a minute's wait: no new server can appear there.
        report("UNWATCHED the console closed with the old server: whether the server is back up cannot be seen "
               "from it",
               true);
        release(entry);
    }
}

// A restart has done what was asked once its old server ended; a new one is
// looked for where the console can show it.
void StepOutcomes::oldServerEnded(Entry entry)
{
    const std::string ended = "CONFIRMED the old server ended " + secondsSince(*entry) + " after restart";
    if (!entry->comebackSeen) {
        report(ended + "; whether it is back up cannot be seen from this console", true);
        release(entry);
        return;
    }
    report(ended, true);
    // Watched on for the new server, but never past the stop bound.
    entry->stage = Stage::Ended;
    const std::int64_t now = services().loop.nowMs();
    bind(*entry, std::min(now + kBackUpWaitMs, entry->deliveredMs + stopWaitMs_));
}

void StepOutcomes::boundPassed(std::uint64_t id)
{
    const auto entry =
        std::find_if(watched_.begin(), watched_.end(), [id](const Watched& watched) { return watched.id == id; });
    if (entry == watched_.end())
        return;
    entry->bound.reset();
    if (!isCommand(entry->kind)) {
        // Never typed again: a second line could arrive twice. A late answer
        // is still reported when it comes.
        report("UNCONFIRMED the server did not answer " + entry->what + " within " +
                   plural(kAnswerWaitMs / 1000, "second") + "; it is not typed again",
               false);
        entry->stage = Stage::Late;
        return;
    }
    // A restart whose new server was not seen in time: its old one ended,
    // which is what was asked.
    if (entry->stage == Stage::Awaited) {
        serverDidNotObey_ = true;
        report("NOT STOPPED the server did not stop within " + stopWaitWords() + " after " + entry->what, false);
    }
    release(entry);
}

// A command's outcome settles the lines before it too: a late answer is no
// longer listened for once the server has stopped or failed to.
void StepOutcomes::release(Entry entry)
{
    const bool command = isCommand(entry->kind);
    watched_.erase(entry);
    if (!command)
        return;
    if (!commandPending())
        releaseLateLines();
    if (awaiting_ && !commandPending())
        unload();
}

void StepOutcomes::releaseLateLines()
{
    watched_.remove_if([](const Watched& watched) { return watched.stage == Stage::Late; });
}

bool StepOutcomes::commandPending() const
{
    return std::any_of(watched_.begin(), watched_.end(), [](const Watched& watched) {
        return isCommand(watched.kind) && watched.stage != Stage::Unsent;
    });
}

void StepOutcomes::awaitCommandOutcome()
{
    if (!commandPending() || !isLoaded())
        return;
    awaiting_ = true;
    services().loop.run(*this);
    awaiting_ = false;
}

// Ended at once with what is known: the command was typed, and whether the
// server obeys is left unsaid unless it was already seen.
bool StepOutcomes::closeRequested(const std::string& cause)
{
    for (const Watched& watched : watched_) {
        if (isCommand(watched.kind) && watched.stage != Stage::Unsent)
            report("UNKNOWN " + cause + " ended the wait " + secondsSince(watched) + " after " + watched.what +
                       ": whether the server " + (watched.stage == Stage::Ended ? "came back" : "stops") +
                       " is not known",
                   false);
    }
    watched_.clear();
    unload();
    return true;
}

void StepOutcomes::report(const std::string& message, bool good)
{
    services().loop.reports().news(name() + ".news", message, good);
}

std::string StepOutcomes::secondsSince(const Watched& watched) const
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s",
                  static_cast<double>(services().loop.nowMs() - watched.sendingMs) / 1000.0);
    return text;
}

std::string StepOutcomes::stopWaitWords() const
{
    const std::int64_t seconds = stopWaitMs_ / 1000;
    if (seconds >= 60 && seconds % 60 == 0)
        return plural(seconds / 60, "minute");
    return plural(seconds, "second");
}

} // namespace vt
