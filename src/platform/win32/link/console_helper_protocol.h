#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/win32/link/console_choice.h"
#include "platform/win32/link/console_programs.h"

namespace vt::win32 {

// What the program and its console helper say to each other over the
// helper's standard input and output. The helper is this program started
// again: it does the attaching to other processes' consoles, so that a
// console closed or a Ctrl+C typed while it is attached can only end the
// helper, never the program. The bytes never leave the machine or outlive
// the call; they still are read strictly, since a helper cut short must not
// be read as a shorter answer.

// Look into every process's console: its title and which console it is.
struct ProbeRequest {};

// Type one step into a console: attach to the first process that still is
// on the console (its console window is `console`, 0 for one without a
// window) and write the records into its input.
struct WriteRequest {
    std::vector<std::uint32_t> processes;
    std::uint64_t console = 0;
    bool waitUntilRead = false;
    std::string title;   // for the messages
    std::string records; // the INPUT_RECORDs as they lie in memory
};

// Watch one console while a step's keys go in (by another helper): attach
// as a write does, note where the cursor is before the keys, say which
// programs are attached, then hand on every row the output adds, read every
// 2 to 20 ms (ReadPace), until readRowsMs have passed with none (a minute at
// most). 0 reads none: the helper ends once it has said who is attached.
struct WatchRequest {
    std::vector<std::uint32_t> processes;
    std::uint64_t console = 0;
    std::uint32_t readRowsMs = 0;
};

using HelperRequest = std::variant<ProbeRequest, WriteRequest, WatchRequest>;

std::string encodeRequest(const HelperRequest& request);
// Throws std::invalid_argument for anything but one whole request.
HelperRequest decodeRequest(std::string_view bytes);

// How a write ended.
struct WriteOutcome {
    enum class Status : std::uint8_t {
        Typed = 1,      // every key is in the console's input
        NotReached = 2, // no process led to that console; nothing was typed
        Failed = 3,     // the message says what and whether anything was typed
    };
    Status status = Status::Failed;
    // NotReached: why the first process did not lead there; Failed: the report.
    std::string message;
};

// The helper answers as it goes, one frame at a time, so that the program
// knows how far it got if it ends half-way.
enum class WriteStage : std::uint8_t {
    Writing = 1, // the first key is about to go in
    Written = 2, // every key is in; waiting for them to be read
};

std::string probesFrame(const std::vector<ConsoleProbe>& probes);
std::string stageFrame(WriteStage stage);
std::string outcomeFrame(const WriteOutcome& outcome);
// A watch's first answer: the console's programs (with when each started,
// so that the program opening them by id knows it has the same one).
std::string watchingFrame(const std::vector<ConsoleProgram>& programs);
// Rows the console's output added, whole rows of the buffer's width.
std::string rowsFrame(const std::vector<std::string>& rows);

// A watch's answers, taken from the front of what the helper said so far;
// a frame not yet whole stays for the next call. An outcome (NotReached or
// Failed) says why the watch could not begin. Throws std::invalid_argument
// for anything malformed.
struct WatchReply {
    std::optional<std::vector<ConsoleProgram>> watching;
    std::vector<std::string> rows;
    std::optional<WriteOutcome> outcome;
};

WatchReply takeWatchFrames(std::string& bytes);

// Everything the helper said, read from its whole output. A frame cut
// short at the end (the helper ended while writing it) counts as not said;
// anything else malformed throws std::invalid_argument.
struct HelperReply {
    std::optional<std::vector<ConsoleProbe>> probes;
    bool writing = false;
    bool written = false;
    std::optional<WriteOutcome> outcome;
};

HelperReply decodeReply(std::string_view bytes);

} // namespace vt::win32
