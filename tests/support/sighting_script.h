#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "platform/headless/headless_console.h"
#include "platform/ui/controls.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/form.h"

namespace vt::testing {

// What a test's console shows at chosen virtual times, reported as a link's
// thread would: a window that is never shown, whose timers call the console's
// watch sinks on the loop's clock, however the loop is run.
class SightingScript : public Form {
public:
    SightingScript(Services& services, headless::HeadlessConsole& console)
        : Form(services, "SCRIPT", "script", WindowStyle{}), console_(console)
    {
        load();
    }

    // At atSeconds on the loop's clock (after what is due then), the oldest
    // live watch expecting kind (and answer, when given) sees sighting.
    void at(double atSeconds, StepExpectation::Kind kind, ConsoleSighting sighting, std::string answer = {})
    {
        Timer& timer = timers_.emplace_back(*this, "AT");
        const auto atMs = static_cast<std::int64_t>(atSeconds * 1000.0);
        timer.onTimer = [this, &timer, kind, sighting, answer] {
            timer.setEnabled(false);
            console_.sighted(kind, sighting, answer);
        };
        timer.setInterval(static_cast<int>(atMs - services().loop.nowMs()));
        timer.setEnabled(true);
    }

private:
    headless::HeadlessConsole& console_;
    std::list<Timer> timers_;
};

} // namespace vt::testing
