// The escalation that brings the console to the front when Windows refuses
// SetForegroundWindow. Wine never refuses, so a scripted Windows plays the
// refusals here: every row says how many tries it refuses and whether the
// Alt tap goes through, and the exact calls that must follow.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/link/foreground.h"

namespace {

struct ScriptedWindows {
    int refusals = 0; // SetForegroundWindow calls that do nothing
    bool altTapWorks = true;
    int lateByPolls = 0; // a granted activation shows only after this many polls
    std::string log;
    int pollsUntilShown = -1;

    vt::win32::ForegroundCalls calls()
    {
        vt::win32::ForegroundCalls calls;
        calls.restoreIfMinimised = [this] { log += "restore "; };
        calls.setForeground = [this] {
            log += "set ";
            grant();
        };
        calls.isForeground = [this] {
            if (pollsUntilShown < 0)
                return false;
            return pollsUntilShown-- == 0;
        };
        calls.tapAlt = [this] {
            log += "alt ";
            return altTapWorks;
        };
        calls.setWithSharedInput = [this] {
            log += "shared ";
            grant();
        };
        calls.sleepMs = [this](int) { log += "."; };
        return calls;
    }
    void grant()
    {
        if (refusals > 0) {
            --refusals;
            return;
        }
        pollsUntilShown = lateByPolls;
    }
};

struct Row {
    const char* name;
    int refusals;
    bool altTapWorks;
    int lateByPolls;
    vt::win32::ForegroundResult expected;
    const char* expectedLog;
};

// Settle time 30 ms at 10 ms a poll: three sleeps (...) before a try gives up.
const Row kRows[] = {
    {"granted at once", 0, true, 0, vt::win32::ForegroundResult::Done, "restore set "},
    {"granted a little late", 0, true, 2, vt::win32::ForegroundResult::Done, "restore set .."},
    {"refused once, shared input unlocks it", 1, true, 0, vt::win32::ForegroundResult::DoneWithSharedInput,
     "restore set ...shared "},
    {"refused twice, the Alt tap comes last and unlocks it", 2, true, 0, vt::win32::ForegroundResult::DoneAfterAltTap,
     "restore set ...shared ...alt set "},
    {"refused twice and the Alt tap fails", 2, false, 0, vt::win32::ForegroundResult::Refused,
     "restore set ...shared ...alt "},
    {"refused every time", 5, true, 0, vt::win32::ForegroundResult::Refused, "restore set ...shared ...alt set ..."},
};

} // namespace

TEST(ForegroundEscalation, TriesEachWayInTurnAndVerifiesIt)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        ScriptedWindows windows;
        windows.refusals = row.refusals;
        windows.altTapWorks = row.altTapWorks;
        windows.lateByPolls = row.lateByPolls;
        EXPECT_EQ(vt::win32::bringToFront(windows.calls(), 30), row.expected);
        EXPECT_EQ(windows.log, row.expectedLog);
    }
}
