#include "platform/link/console_link.h"

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt {

KeyActions keysOfStep(const std::vector<KeyChunk>& step)
{
    KeyActions keys;
    for (const KeyChunk& chunk : step)
        keys.insert(keys.end(), chunk.keys.begin(), chunk.keys.end());
    return keys;
}

bool stepWaits(const std::vector<KeyChunk>& step)
{
    for (const KeyChunk& chunk : step) {
        if (chunk.wait)
            return true;
    }
    return false;
}

void KeySender::sendKeys(std::string_view notation, bool wait)
{
    // Parsing the whole string first means a bad string types nothing at all,
    // rather than half a command.
    KeyActions keys = parseKeystrokes(notation);
    if (!keys.empty())
        step_.push_back({std::move(keys), wait});
}

void KeySender::deliver()
{
    std::vector<KeyChunk> step;
    step.swap(step_);
    if (!step.empty())
        typeStep(step);
}

} // namespace vt
