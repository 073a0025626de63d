#include "platform/link/console_watch.h"

namespace vt {

const char* sightingName(ConsoleSighting sighting)
{
    switch (sighting) {
    case ConsoleSighting::Answered:
        return "Answered";
    case ConsoleSighting::ServerEnded:
        return "ServerEnded";
    case ConsoleSighting::NoRestartScript:
        return "NoRestartScript";
    case ConsoleSighting::ServerStarted:
        return "ServerStarted";
    case ConsoleSighting::ConsoleClosed:
        return "ConsoleClosed";
    }
    return "?";
}

} // namespace vt
