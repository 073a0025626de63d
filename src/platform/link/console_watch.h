#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vt {

// What a step's keys are meant to make the server do, so that a link that can
// read the console back, or watch the server behind it, can tell whether it
// happened.
struct StepExpectation {
    enum class Kind { Say, Stop, Restart };
    Kind kind = Kind::Say;
    // For Say: the text the server repeats after "[Server] " (the line's
    // characters as typed, colour codes included). Both sides are compared
    // with colour codes and terminal escapes stripped.
    std::string answer;
};

// What a link saw in the console after a step's keys went. The program judges
// from these what became of the step, and when nothing came in time.
enum class ConsoleSighting {
    // A new line holding "[Server] " and the expected answer.
    Answered,
    // Every program of the server has ended, or the console itself closed.
    ServerEnded,
    // "Startup script ... does not exist! Stopping server.": a restart that
    // is only a stop.
    NoRestartScript,
    // After the server ended, a new one runs in the same console.
    ServerStarted,
    // After the server ended, its console closed too: no new server can
    // appear in it (a pane whose own command was the server).
    ConsoleClosed,
};

// The sighting's name as written above ("ServerEnded"), for tools and logs.
const char* sightingName(ConsoleSighting sighting);

// Receives a watch's sightings, from any thread, each at most once, and never
// after the watch's destructor has returned.
using SightingSink = std::function<void(ConsoleSighting)>;

// What a console lets the program see of a step after its keys went.
struct ConsoleSight {
    // Its output can be read back: say lines are confirmed or unconfirmed.
    // Otherwise they are reported as typed.
    bool readable = false;
    // The programs reading it are known and their end can be seen.
    bool serverWatched = false;
    // When the server cannot be watched though the link could have: why, in
    // the operator's words ("the terminal process hosts several windows").
    std::string unwatchedWhy;
    // After a restart, a new server in the same console can be seen. Not on
    // a Windows console: the restart script opens a console of its own.
    bool comebackSeen = true;
};

// Watches one step's console until it is destroyed. It holds all it needs:
// it outlives the KeySender it came from.
class StepWatch {
public:
    virtual ~StepWatch() = default;
};

} // namespace vt
