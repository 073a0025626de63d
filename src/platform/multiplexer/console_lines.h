#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/link/console_watch.h"

namespace vt::multiplexer {

// Cuts a console's output into lines as it arrives in pieces.
class ConsoleLines {
public:
    // The lines this piece completes, without their line feeds.
    std::vector<std::string> add(std::string_view bytes);

private:
    std::string partial_;
};

// What a console line shows about the step: the say line's answer, or a
// restart that found no restart script.
std::optional<ConsoleSighting> sightingInLine(std::string_view line, const StepExpectation& expected);

} // namespace vt::multiplexer
