#include "platform/multiplexer/console_lines.h"

#include "platform/link/console_answer.h"

namespace vt::multiplexer {

namespace {

// A line longer than any a server logs is cut here rather than held on to.
constexpr std::size_t kMaxLine = 64 * 1024;

} // namespace

std::vector<std::string> ConsoleLines::add(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (const char byte : bytes) {
        if (byte != '\n' && partial_.size() < kMaxLine) {
            partial_ += byte;
            continue;
        }
        lines.push_back(std::move(partial_));
        partial_.clear();
        if (byte != '\n')
            partial_ += byte;
    }
    return lines;
}

std::optional<ConsoleSighting> sightingInLine(std::string_view line, const StepExpectation& expected)
{
    if (expected.kind == StepExpectation::Kind::Say && answersSay(line, expected.answer))
        return ConsoleSighting::Answered;
    if (expected.kind == StepExpectation::Kind::Restart && reportsNoRestartScript(line))
        return ConsoleSighting::NoRestartScript;
    return std::nullopt;
}

} // namespace vt::multiplexer
