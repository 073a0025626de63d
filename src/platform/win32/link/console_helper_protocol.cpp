#include "platform/win32/link/console_helper_protocol.h"

#include <stdexcept>

namespace vt::win32 {

namespace {

enum class RequestKind : std::uint8_t { Probe = 1, Write = 2, Watch = 3 };
enum class FrameKind : std::uint8_t { Probes = 1, Stage = 2, Outcome = 3, Watching = 4, Rows = 5 };

// Little-endian, fixed widths: both ends are the same program, but a reader
// that depends on nothing is easier to trust.
class Writer {
public:
    void byte(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value) { fixed(value, 4); }
    void u64(std::uint64_t value) { fixed(value, 8); }
    void text(std::string_view value)
    {
        u32(static_cast<std::uint32_t>(value.size()));
        bytes_.append(value);
    }
    std::string take() { return std::move(bytes_); }

private:
    void fixed(std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i)
            byte(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::uint8_t byte() { return static_cast<std::uint8_t>(take(1)[0]); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(fixed(4)); }
    std::uint64_t u64() { return fixed(8); }
    std::string text() { return std::string(take(u32())); }
    std::string_view take(std::size_t count)
    {
        if (count > bytes_.size())
            throw std::invalid_argument("the console helper's message is cut short");
        const std::string_view taken = bytes_.substr(0, count);
        bytes_.remove_prefix(count);
        return taken;
    }
    bool done() const { return bytes_.empty(); }
    std::size_t left() const { return bytes_.size(); }
    void expectDone() const
    {
        if (!done())
            throw std::invalid_argument("the console helper's message has bytes left over");
    }

private:
    std::uint64_t fixed(int width)
    {
        const std::string_view raw = take(static_cast<std::size_t>(width));
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | static_cast<std::uint8_t>(raw[static_cast<std::size_t>(i)]);
        return value;
    }
    std::string_view bytes_;
};

bool flag(Reader& reader)
{
    const std::uint8_t value = reader.byte();
    if (value > 1)
        throw std::invalid_argument("the console helper's message has a bad flag");
    return value == 1;
}

std::string frame(FrameKind kind, const std::string& payload)
{
    Writer writer;
    writer.byte(static_cast<std::uint8_t>(kind));
    writer.text(payload);
    return writer.take();
}

// The count comes from the bytes: the list grows as items are read, so a
// wrong count runs out of bytes instead of reserving memory.
template <typename ReadOne>
auto readList(Reader& reader, ReadOne readOne)
{
    std::vector<decltype(readOne(reader))> items;
    const std::uint32_t count = reader.u32();
    for (std::uint32_t i = 0; i < count; ++i)
        items.push_back(readOne(reader));
    return items;
}

ConsoleProbe readProbe(Reader& reader)
{
    ConsoleProbe probe;
    probe.process = reader.u32();
    const std::uint8_t outcome = reader.byte();
    if (outcome > static_cast<std::uint8_t>(ConsoleProbe::Outcome::NoConsole))
        throw std::invalid_argument("the console helper's message has a bad probe outcome");
    probe.outcome = static_cast<ConsoleProbe::Outcome>(outcome);
    probe.title = reader.text();
    probe.console = static_cast<std::uintptr_t>(reader.u64());
    probe.image = reader.text();
    return probe;
}

std::vector<std::uint32_t> readProcesses(Reader& reader)
{
    return readList(reader, [](Reader& from) { return from.u32(); });
}

void writeProcesses(Writer& writer, const std::vector<std::uint32_t>& processes)
{
    writer.u32(static_cast<std::uint32_t>(processes.size()));
    for (const std::uint32_t process : processes)
        writer.u32(process);
}

WriteRequest readWriteRequest(Reader& reader)
{
    WriteRequest request;
    request.processes = readProcesses(reader);
    request.console = reader.u64();
    request.waitUntilRead = flag(reader);
    request.title = reader.text();
    request.records = reader.text();
    return request;
}

WatchRequest readWatchRequest(Reader& reader)
{
    WatchRequest request;
    request.processes = readProcesses(reader);
    request.console = reader.u64();
    request.readRowsMs = reader.u32();
    return request;
}

ConsoleProgram readProgram(Reader& reader)
{
    ConsoleProgram program;
    program.process = reader.u32();
    program.image = reader.text();
    program.started = reader.u64();
    return program;
}

WriteOutcome readOutcome(Reader& reader)
{
    WriteOutcome outcome;
    const std::uint8_t status = reader.byte();
    if (status < static_cast<std::uint8_t>(WriteOutcome::Status::Typed) ||
        status > static_cast<std::uint8_t>(WriteOutcome::Status::Failed))
        throw std::invalid_argument("the console helper's message has a bad write status");
    outcome.status = static_cast<WriteOutcome::Status>(status);
    outcome.message = reader.text();
    return outcome;
}

void readFrame(FrameKind kind, Reader payload, HelperReply& reply)
{
    switch (kind) {
    case FrameKind::Probes:
        reply.probes = readList(payload, readProbe);
        break;
    case FrameKind::Stage: {
        const std::uint8_t stage = payload.byte();
        if (stage == static_cast<std::uint8_t>(WriteStage::Writing))
            reply.writing = true;
        else if (stage == static_cast<std::uint8_t>(WriteStage::Written))
            reply.written = true;
        else
            throw std::invalid_argument("the console helper's message has a bad stage");
        break;
    }
    case FrameKind::Outcome:
        reply.outcome = readOutcome(payload);
        break;
    case FrameKind::Watching:
    case FrameKind::Rows:
        throw std::invalid_argument("the console helper answered a write as a watch");
    default:
        throw std::invalid_argument("the console helper's message is of an unknown kind");
    }
    payload.expectDone();
}

} // namespace

std::string encodeRequest(const HelperRequest& request)
{
    Writer writer;
    if (std::holds_alternative<ProbeRequest>(request)) {
        writer.byte(static_cast<std::uint8_t>(RequestKind::Probe));
        return writer.take();
    }
    if (const auto* watch = std::get_if<WatchRequest>(&request)) {
        writer.byte(static_cast<std::uint8_t>(RequestKind::Watch));
        writeProcesses(writer, watch->processes);
        writer.u64(watch->console);
        writer.u32(watch->readRowsMs);
        return writer.take();
    }
    const auto& write = std::get<WriteRequest>(request);
    writer.byte(static_cast<std::uint8_t>(RequestKind::Write));
    writeProcesses(writer, write.processes);
    writer.u64(write.console);
    writer.byte(write.waitUntilRead ? 1 : 0);
    writer.text(write.title);
    writer.text(write.records);
    return writer.take();
}

HelperRequest decodeRequest(std::string_view bytes)
{
    Reader reader(bytes);
    HelperRequest request;
    const std::uint8_t kind = reader.byte();
    if (kind == static_cast<std::uint8_t>(RequestKind::Probe))
        request = ProbeRequest{};
    else if (kind == static_cast<std::uint8_t>(RequestKind::Write))
        request = readWriteRequest(reader);
    else if (kind == static_cast<std::uint8_t>(RequestKind::Watch))
        request = readWatchRequest(reader);
    else
        throw std::invalid_argument("the console helper was asked for something unknown");
    reader.expectDone();
    return request;
}

std::string probesFrame(const std::vector<ConsoleProbe>& probes)
{
    Writer writer;
    writer.u32(static_cast<std::uint32_t>(probes.size()));
    for (const ConsoleProbe& probe : probes) {
        writer.u32(probe.process);
        writer.byte(static_cast<std::uint8_t>(probe.outcome));
        writer.text(probe.title);
        writer.u64(probe.console);
        writer.text(probe.image);
    }
    return frame(FrameKind::Probes, writer.take());
}

std::string stageFrame(WriteStage stage)
{
    return frame(FrameKind::Stage, std::string(1, static_cast<char>(stage)));
}

std::string outcomeFrame(const WriteOutcome& outcome)
{
    Writer writer;
    writer.byte(static_cast<std::uint8_t>(outcome.status));
    writer.text(outcome.message);
    return frame(FrameKind::Outcome, writer.take());
}

std::string watchingFrame(const std::vector<ConsoleProgram>& programs)
{
    Writer writer;
    writer.u32(static_cast<std::uint32_t>(programs.size()));
    for (const ConsoleProgram& program : programs) {
        writer.u32(program.process);
        writer.text(program.image);
        writer.u64(program.started);
    }
    return frame(FrameKind::Watching, writer.take());
}

std::string rowsFrame(const std::vector<std::string>& rows)
{
    Writer writer;
    writer.u32(static_cast<std::uint32_t>(rows.size()));
    for (const std::string& row : rows)
        writer.text(row);
    return frame(FrameKind::Rows, writer.take());
}

WatchReply takeWatchFrames(std::string& bytes)
{
    constexpr std::size_t kHeader = 5;
    WatchReply reply;
    Reader reader(bytes);
    std::size_t used = 0;
    while (reader.left() >= kHeader) {
        const auto kind = static_cast<FrameKind>(reader.byte());
        const std::uint32_t length = reader.u32();
        if (length > reader.left())
            break;
        Reader payload(reader.take(length));
        if (kind == FrameKind::Watching) {
            reply.watching = readList(payload, readProgram);
        } else if (kind == FrameKind::Rows) {
            for (std::string& row : readList(payload, [](Reader& from) { return from.text(); }))
                reply.rows.push_back(std::move(row));
        } else if (kind == FrameKind::Outcome) {
            reply.outcome = readOutcome(payload);
        } else {
            throw std::invalid_argument("the console helper answered a watch with something else");
        }
        payload.expectDone();
        used = bytes.size() - reader.left();
    }
    bytes.erase(0, used);
    return reply;
}

HelperReply decodeReply(std::string_view bytes)
{
    HelperReply reply;
    Reader reader(bytes);
    while (!reader.done()) {
        // The frame the helper was writing when it ended is not an answer.
        constexpr std::size_t kHeader = 5;
        if (reader.left() < kHeader)
            break;
        const auto kind = static_cast<FrameKind>(reader.byte());
        const std::uint32_t length = reader.u32();
        if (length > reader.left())
            break;
        readFrame(kind, Reader(reader.take(length)), reply);
    }
    return reply;
}

} // namespace vt::win32
