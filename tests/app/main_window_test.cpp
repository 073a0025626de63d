// Start-up, closing and the stored state of the main window.
#include "support/program_fixture.h"

namespace vt::testing {
namespace {

using MainWindow = ProgramTest;

TEST_F(MainWindow, FirstStartOnAnEmptyStoreShowsTheDefaults)
{
    auto& w = start();
    EXPECT_EQ(w.left(), 1000);
    EXPECT_EQ(w.top(), 1000);
    EXPECT_EQ(w.width(), 10575);
    EXPECT_EQ(w.height(), 2295);
    EXPECT_EQ(w.caption(), "VT-HALTWARD - vt-haltward");
    EXPECT_EQ(w.APP_EXE_NAME_TEXTBOX.caption(), "vt-haltward");
    EXPECT_EQ(w.SERVER_NAME_LABEL.caption(), "") << "the empty default replaces the design caption";
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "READY...");
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
    EXPECT_FALSE(w.START_STOP_BUTTON.enabled());
    for (TickBox* box : {&w.AUTOSTART_SHUTDOWN_TICKBOX, &w.AUTOSTART_RESTART_TICKBOX, &w.AUTOCLOSE_TICKBOX}) {
        EXPECT_EQ(box->value(), 0) << box->name();
        EXPECT_TRUE(box->enabled()) << box->name();
    }
    EXPECT_FALSE(w.SHUTDOWN_NO_WARNINGS_BUTTON.enabled());
    EXPECT_FALSE(w.RESTART_NO_WARNINGS_BUTTON.enabled());
    EXPECT_EQ(w.ENABLE_NO_WARNINGS_BUTTON.caption(), "Enable");
    for (TextBox* box : {&w.THREE_MIN_MESSAGE_TEXTBOX, &w.TWO_MIN_MESSAGE_TEXTBOX, &w.ONE_MIN_MESSAGE_TEXTBOX,
                         &w.SHUTDOWN_RESTART_MESSAGE_TEXTBOX, &w.WINDOW_NAME_TEXTBOX}) {
        EXPECT_EQ(box->text(), "") << box->name();
        EXPECT_FALSE(box->visible()) << box->name();
    }
    EXPECT_EQ(w.focused(), &w.ENABLE_NO_WARNINGS_BUTTON) << "START is disabled, so the focus is on Enable";
    EXPECT_EQ(w.AUTOSTART_TIMER.interval(), 10000);
    EXPECT_EQ(w.MIN_THREE_MESSAGE_TIMER.interval(), 60000);
    EXPECT_EQ(w.MIN_TWO_MESSAGE_TIMER.interval(), 60000);
    EXPECT_EQ(w.MIN_ONE_MESSAGE_TIMER.interval(), 60000);
    EXPECT_EQ(w.SHUTDOWN_RESTART_MESSAGE_TIMER.interval(), 10000);
    EXPECT_EQ(w.AUTOCLOSE_TIMER.interval(), 10000);
    for (vt::Timer* timer : w.timers())
        EXPECT_FALSE(timer->enabled()) << timer->name();
    EXPECT_TRUE(store.writes().empty()) << "loading writes nothing";
    EXPECT_FALSE(loop.reports().current());
}

TEST_F(MainWindow, StoredPlacementAndTextsAreLoadedIntoTheControls)
{
    storeTexts();
    storeValue("MAIN-Left", "2500.5");
    storeValue("MAIN-Top", "-300");
    storeValue("MAIN-Height", "5475");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    auto& w = start();
    EXPECT_EQ(w.left(), 2500.5f);
    EXPECT_EQ(w.top(), -300) << "the window takes the stored position; its view keeps it within reach";
    EXPECT_EQ(w.height(), 5475) << "a size put into the store from outside is applied";
    EXPECT_EQ(w.SERVER_NAME_LABEL.caption(), "Survival");
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER");
    EXPECT_EQ(w.SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text(), "bye");
    EXPECT_EQ(w.AUTOCLOSE_TICKBOX.value(), 1);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "READY...") << "AutoClose alone arms nothing";
    EXPECT_FALSE(w.AUTOSTART_TIMER.enabled());
}

struct ArmedMode {
    const char* storedKey;
    const char* name;
};

class ArmedStart : public ProgramTest, public ::testing::WithParamInterface<ArmedMode> {};

TEST_P(ArmedStart, AStoredModeArmsTheStartDelay)
{
    storeValue(GetParam().storedKey, "1");
    auto& w = start();
    TickBox& ticked = GetParam().storedKey == std::string("AUTOSTART_SHUTDOWN_TICKBOX") ? w.AUTOSTART_SHUTDOWN_TICKBOX
                                                                                        : w.AUTOSTART_RESTART_TICKBOX;
    EXPECT_EQ(ticked.value(), 1);
    EXPECT_EQ(w.AUTOSTART_SHUTDOWN_TICKBOX.value() + w.AUTOSTART_RESTART_TICKBOX.value(), 1);
    EXPECT_FALSE(w.AUTOSTART_SHUTDOWN_TICKBOX.enabled());
    EXPECT_FALSE(w.AUTOSTART_RESTART_TICKBOX.enabled());
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "STARTING IN 10 SECS...");
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "STOP");
    EXPECT_TRUE(w.START_STOP_BUTTON.enabled());
    EXPECT_FALSE(w.SETTINGS_BUTTON.enabled());
    EXPECT_FALSE(w.ENABLE_NO_WARNINGS_BUTTON.enabled());
    EXPECT_TRUE(w.ABOUT_BUTTON.enabled());
    EXPECT_TRUE(w.EXIT_BUTTON.enabled());
    EXPECT_TRUE(w.AUTOCLOSE_TICKBOX.enabled());
    EXPECT_EQ(w.focused(), &w.START_STOP_BUTTON);

    loop.advanceMs(9999);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "STARTING IN 10 SECS...");
    loop.advanceMs(1);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "SPIGOT SHUTDOWN IN 3 MINS") << "AUTOSTART_TIMER fires at 10 s";
}

INSTANTIATE_TEST_SUITE_P(BothModes, ArmedStart,
                         ::testing::Values(ArmedMode{"AUTOSTART_SHUTDOWN_TICKBOX", "shutdown"},
                                           ArmedMode{"AUTOSTART_RESTART_TICKBOX", "restart"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, BothModesStoredLoadAsShutdownOnlyAndSaySo)
{
    storeValue("AUTOSTART_SHUTDOWN_TICKBOX", "1");
    storeValue("AUTOSTART_RESTART_TICKBOX", "1");
    auto& w = start();
    EXPECT_EQ(w.AUTOSTART_SHUTDOWN_TICKBOX.value(), 1);
    EXPECT_EQ(w.AUTOSTART_RESTART_TICKBOX.value(), 0);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "STARTING IN 10 SECS...");
    EXPECT_NE(currentReport().find("AUTOSTART_RESTART_TICKBOX"), std::string::npos) << currentReport();
}

struct BadValue {
    const char* key;
    const char* text;
};

class BadStoredValues : public ProgramTest, public ::testing::WithParamInterface<BadValue> {};

TEST_P(BadStoredValues, AreReportedWithKeyTextAndStoreAndTheKeyTakesItsDefault)
{
    storeTexts();
    storeValue(GetParam().key, GetParam().text);
    auto& w = start();
    const std::string report = currentReport();
    EXPECT_NE(report.find(GetParam().key), std::string::npos) << report;
    EXPECT_NE(report.find(std::string("'") + GetParam().text + "'"), std::string::npos) << report;
    EXPECT_NE(report.find("memory:VT_HALTWARD"), std::string::npos) << report;
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER") << "the load went on past the bad key";
    EXPECT_EQ(w.AUTOSTART_TIMER.interval(), 10000);
    EXPECT_EQ(w.width(), 10575);
    EXPECT_EQ(w.left(), 1000);
    EXPECT_EQ(w.AUTOCLOSE_TICKBOX.value(), 0);
    EXPECT_TRUE(store.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, BadStoredValues,
                         ::testing::Values(BadValue{"MAIN-Left", "left"}, BadValue{"MAIN-Width", "12px"},
                                           BadValue{"MAIN-Left", ""}, BadValue{"AUTOCLOSE_TICKBOX", "yes"}));

// A mistyped escape in one value spoils that key only: it is reported with
// its key, takes its default, and the rest of the window loads from the store.
TEST_F(MainWindow, AnUndecodableValueIsThatKeysDefaultAndTheLoadGoesOn)
{
    storeTexts();
    store.putBad("vt-haltward", "THREE_MIN_MESSAGE_TEXTBOX", "line 4: unknown escape '\\ '");
    storeValue("MAIN-Left", "2000");
    auto& w = start();
    EXPECT_NE(currentReport().find("THREE_MIN_MESSAGE_TEXTBOX"), std::string::npos) << currentReport();
    EXPECT_NE(currentReport().find("unknown escape"), std::string::npos) << currentReport();
    EXPECT_EQ(w.THREE_MIN_MESSAGE_TEXTBOX.text(), "");
    EXPECT_EQ(w.TWO_MIN_MESSAGE_TEXTBOX.text(), "two");
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER");
    EXPECT_EQ(w.left(), 2000);
    EXPECT_TRUE(store.writes().empty());
}

TEST_F(MainWindow, TheLoadReadsTheStoreOnce)
{
    storeTexts();
    start();
    EXPECT_EQ(store.reads(), 1);
}

// A huge stored value is quoted cut short, not whole, in the report.
TEST_F(MainWindow, AHugeBadValueIsQuotedShort)
{
    storeValue("MAIN-Left", std::string(100000, '7') + "x");
    start();
    EXPECT_LT(currentReport().size(), 400u);
    EXPECT_NE(currentReport().find("777..."), std::string::npos) << currentReport();
}

TEST_F(MainWindow, AnUnreadableStoreIsReportedOnceAndTheWindowLoadsWithDefaults)
{
    store.failing = true;
    auto& w = start();
    EXPECT_EQ(loop.reports().history().size(), 1u);
    EXPECT_EQ(stderrLines.size(), 1u);
    EXPECT_EQ(w.width(), 10575);
    EXPECT_EQ(w.AUTOSTART_TIMER.interval(), 10000);
}

const std::vector<MemoryStore::Write> kClosingWrites(const std::string& left, const std::string& tick)
{
    return {{"vt-haltward", "MAIN-Left", left},
            {"vt-haltward", "MAIN-Top", "1000"},
            {"vt-haltward", "AUTOSTART_SHUTDOWN_TICKBOX", "0"},
            {"vt-haltward", "AUTOSTART_RESTART_TICKBOX", tick},
            {"vt-haltward", "AUTOCLOSE_TICKBOX", "1"}};
}

TEST_F(MainWindow, TheCloseBoxWritesPlacementAndTicksOnce)
{
    auto& w = start();
    w.movedTo(1234.5f, 1000);
    w.click(w.AUTOSTART_RESTART_TICKBOX);
    w.click(w.AUTOCLOSE_TICKBOX);
    EXPECT_TRUE(store.writes().empty()) << "ticking writes nothing at once";
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(store.writes(), kClosingWrites("1234.5", "1"));
}

TEST_F(MainWindow, ExitWritesTheSameFiveKeysTwiceThenUnloads)
{
    auto& w = start();
    w.click(w.AUTOCLOSE_TICKBOX);
    w.click(w.EXIT_BUTTON);
    EXPECT_TRUE(w.isUnloaded());
    std::vector<MemoryStore::Write> twice = kClosingWrites("1000", "0");
    const auto once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(store.writes(), twice);
}

TEST_F(MainWindow, ALaterStartRestoresPositionAndTicksButNotTheSize)
{
    storeValue("AUTOSTART_RESTART_TICKBOX", "1");
    auto& first = start();
    first.movedTo(3000, 4000);
    first.click(first.EXIT_BUTTON);
    auto& second = start();
    EXPECT_EQ(second.left(), 3000);
    EXPECT_EQ(second.top(), 4000);
    EXPECT_EQ(second.height(), 2295);
    EXPECT_EQ(second.AUTOSTART_RESTART_TICKBOX.value(), 1) << "EXIT during the armed start keeps the tick";
    EXPECT_EQ(second.CURRENT_STATUS_LABEL.caption(), "STARTING IN 10 SECS...");
}

TEST_F(MainWindow, ACopyUnderAnotherNameKeepsItsOwnSection)
{
    storeValue("MAIN-Left", "5000");
    exeName = "server2";
    auto& w = start();
    EXPECT_EQ(w.left(), 1000);
    EXPECT_EQ(w.caption(), "VT-HALTWARD - server2");
    w.close();
    EXPECT_EQ(store.get("server2", "MAIN-Left"), "1000");
    EXPECT_EQ(store.get("vt-haltward", "MAIN-Left"), "5000");
}

TEST_F(MainWindow, AFailedWriteAtExitIsReportedAndLeavesTheWindowOpen)
{
    auto& w = start();
    store.failing = true;
    w.click(w.EXIT_BUTTON);
    EXPECT_FALSE(w.isUnloaded()) << "EXIT stops at the failing write and says why";
    EXPECT_NE(currentReport().find("cannot be written"), std::string::npos);
    EXPECT_TRUE(w.close()) << "the close box still closes";
    EXPECT_TRUE(w.isUnloaded());
}

} // namespace
} // namespace vt::testing
