#include "platform/link/console_link.h"

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt {

void KeySender::sendKeys(std::string_view notation, bool wait)
{
    // Parsing the whole string first means a bad string types nothing at all,
    // rather than half a command.
    typeKeys(parseKeystrokes(notation), wait);
}

} // namespace vt
