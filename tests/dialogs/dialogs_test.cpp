// The Settings & Messages and About dialogs, opened from the main window.
#include "support/program_fixture.h"

namespace vt::testing {
namespace {

using Dialogs = ProgramTest;

VT_HALTWARD_MESSAGE_SETTINGS& asSettings(Form& form)
{
    return dynamic_cast<VT_HALTWARD_MESSAGE_SETTINGS&>(form);
}

VT_HALTWARD_ABOUT& asAbout(Form& form)
{
    return dynamic_cast<VT_HALTWARD_ABOUT&>(form);
}

TEST_F(Dialogs, SettingsOpensAtItsDefaultsOnAnEmptyStore)
{
    auto& w = start();
    loop.onNextModal([&](Form& form) {
        auto& d = asSettings(form);
        EXPECT_EQ(d.caption(), "VT-HALTWARD - Settings & Messages");
        EXPECT_EQ(d.left(), 1000);
        EXPECT_EQ(d.top(), 1000);
        EXPECT_EQ(d.width(), 8640);
        EXPECT_EQ(d.height(), 5745);
        for (TextBox* box :
             {&d.WINDOW_NAME_TEXTBOX, &d.SERVER_NAME_TEXTBOX, &d.THREE_MIN_MESSAGE_TEXTBOX, &d.TWO_MIN_MESSAGE_TEXTBOX,
              &d.ONE_MIN_MESSAGE_TEXTBOX, &d.SHUTDOWN_RESTART_MESSAGE_TEXTBOX})
            EXPECT_EQ(box->text(), "") << box->name();
        EXPECT_EQ(d.focused(), &d.OK_BUTTON);
        EXPECT_FALSE(w.acceptsInput()) << "the main window is blocked while the dialog is open";
        d.close();
    });
    EXPECT_TRUE(w.click(w.SETTINGS_BUTTON));
    EXPECT_EQ(loop.pendingModalScripts(), 0u);
    EXPECT_TRUE(w.acceptsInput());
}

TEST_F(Dialogs, OkRefusesAMessageThatCanNeverBeTypedAndKeepsTheDialogOpen)
{
    storeTexts();
    auto& w = start();
    const std::size_t writesBefore = store.writes().size();
    loop.onNextModal([&](Form& form) {
        auto& d = asSettings(form);
        d.typeText(d.WINDOW_NAME_TEXTBOX, "OTHER");
        d.typeText(d.ONE_MIN_MESSAGE_TEXTBOX, "50%");
        EXPECT_TRUE(d.click(d.OK_BUTTON));
        EXPECT_FALSE(d.isUnloaded());
        EXPECT_EQ(currentReport().rfind("bad keystroke notation in the 1-minute message at position 3:", 0), 0u)
            << currentReport();
        EXPECT_EQ(store.writes().size(), writesBefore) << "nothing is written";
        EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER") << "the main window keeps its texts";
        d.typeText(d.ONE_MIN_MESSAGE_TEXTBOX, "50{%}");
        EXPECT_TRUE(d.click(d.OK_BUTTON));
        EXPECT_TRUE(d.isUnloaded());
    });
    w.click(w.SETTINGS_BUTTON);
    EXPECT_EQ(stored("ONE_MIN_MESSAGE_TEXTBOX"), "50{%}");
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "OTHER");
}

TEST_F(Dialogs, EnterInATextBoxActsAsOkAndStoresAndCopiesAllSixTexts)
{
    auto& w = start();
    loop.onNextModal([&](Form& form) {
        auto& d = asSettings(form);
        d.movedTo(1500, 2500);
        d.typeText(d.WINDOW_NAME_TEXTBOX, "SPIGOT-SERVER");
        d.typeText(d.SERVER_NAME_TEXTBOX, "");
        d.typeText(d.THREE_MIN_MESSAGE_TEXTBOX, "§c3 minutes {+} ~");
        d.typeText(d.TWO_MIN_MESSAGE_TEXTBOX, "two");
        d.typeText(d.ONE_MIN_MESSAGE_TEXTBOX, " one ");
        d.typeText(d.SHUTDOWN_RESTART_MESSAGE_TEXTBOX, "bye (€)");
        EXPECT_TRUE(d.pressEnter());
    });
    w.click(w.SETTINGS_BUTTON);
    const std::vector<MemoryStore::Write> expected{
        {"vt-haltward", "MESSAGE-SETTINGS-Left", "1500"},
        {"vt-haltward", "MESSAGE-SETTINGS-Top", "2500"},
        {"vt-haltward", "WINDOW_NAME_TEXTBOX", "SPIGOT-SERVER"},
        {"vt-haltward", "SERVER_NAME_TEXTBOX", ""},
        {"vt-haltward", "THREE_MIN_MESSAGE_TEXTBOX", "§c3 minutes {+} ~"},
        {"vt-haltward", "TWO_MIN_MESSAGE_TEXTBOX", "two"},
        {"vt-haltward", "ONE_MIN_MESSAGE_TEXTBOX", " one "},
        {"vt-haltward", "SHUTDOWN_RESTART_MESSAGE_TEXTBOX", "bye (€)"},
        {"vt-haltward", "MESSAGE-SETTINGS-Left", "1500"},
        {"vt-haltward", "MESSAGE-SETTINGS-Top", "2500"},
    };
    EXPECT_EQ(store.writes(), expected);
    EXPECT_EQ(store.saveSizes(), (std::vector<std::size_t>{8, 2}))
        << "OK stores its eight keys in one write, all or none; the unload its position";
    EXPECT_EQ(w.SERVER_NAME_LABEL.caption(), "");
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER");
    EXPECT_EQ(w.THREE_MIN_MESSAGE_TEXTBOX.text(), "§c3 minutes {+} ~");
    EXPECT_EQ(w.ONE_MIN_MESSAGE_TEXTBOX.text(), " one ");
    EXPECT_EQ(w.SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text(), "bye (€)");
}

TEST_F(Dialogs, OkWithNothingChangedWritesAllEightKeysAndSetsTheMainWindowAgain)
{
    storeTexts();
    auto& w = start();
    // Changed behind the dialog's back, so that setting them again shows.
    w.SERVER_NAME_LABEL.setCaption("stale");
    for (TextBox* box : {&w.THREE_MIN_MESSAGE_TEXTBOX, &w.TWO_MIN_MESSAGE_TEXTBOX, &w.ONE_MIN_MESSAGE_TEXTBOX,
                         &w.SHUTDOWN_RESTART_MESSAGE_TEXTBOX, &w.WINDOW_NAME_TEXTBOX})
        box->setText("stale");
    loop.onNextModal([&](Form& form) { EXPECT_TRUE(form.click(asSettings(form).OK_BUTTON)); });
    w.click(w.SETTINGS_BUTTON);
    const std::vector<MemoryStore::Write> expected{
        {"vt-haltward", "MESSAGE-SETTINGS-Left", "1000"},
        {"vt-haltward", "MESSAGE-SETTINGS-Top", "1000"},
        {"vt-haltward", "WINDOW_NAME_TEXTBOX", "SPIGOT-SERVER"},
        {"vt-haltward", "SERVER_NAME_TEXTBOX", "Survival"},
        {"vt-haltward", "THREE_MIN_MESSAGE_TEXTBOX", "three"},
        {"vt-haltward", "TWO_MIN_MESSAGE_TEXTBOX", "two"},
        {"vt-haltward", "ONE_MIN_MESSAGE_TEXTBOX", "one"},
        {"vt-haltward", "SHUTDOWN_RESTART_MESSAGE_TEXTBOX", "bye"},
        {"vt-haltward", "MESSAGE-SETTINGS-Left", "1000"},
        {"vt-haltward", "MESSAGE-SETTINGS-Top", "1000"},
    };
    EXPECT_EQ(store.writes(), expected);
    EXPECT_EQ(w.SERVER_NAME_LABEL.caption(), "Survival");
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER");
    EXPECT_EQ(w.THREE_MIN_MESSAGE_TEXTBOX.text(), "three");
    EXPECT_EQ(w.TWO_MIN_MESSAGE_TEXTBOX.text(), "two");
    EXPECT_EQ(w.ONE_MIN_MESSAGE_TEXTBOX.text(), "one");
    EXPECT_EQ(w.SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text(), "bye");
}

TEST_F(Dialogs, EnterInEachOfTheSixTextBoxesActsAsOk)
{
    auto& w = start();
    TextBox VT_HALTWARD_MESSAGE_SETTINGS::*const boxes[] = {
        &VT_HALTWARD_MESSAGE_SETTINGS::WINDOW_NAME_TEXTBOX,
        &VT_HALTWARD_MESSAGE_SETTINGS::SERVER_NAME_TEXTBOX,
        &VT_HALTWARD_MESSAGE_SETTINGS::THREE_MIN_MESSAGE_TEXTBOX,
        &VT_HALTWARD_MESSAGE_SETTINGS::TWO_MIN_MESSAGE_TEXTBOX,
        &VT_HALTWARD_MESSAGE_SETTINGS::ONE_MIN_MESSAGE_TEXTBOX,
        &VT_HALTWARD_MESSAGE_SETTINGS::SHUTDOWN_RESTART_MESSAGE_TEXTBOX,
    };
    for (auto member : boxes) {
        std::string name;
        bool unloaded = false;
        loop.onNextModal([&](Form& form) {
            auto& d = asSettings(form);
            TextBox& box = d.*member;
            name = box.name();
            d.focusMovedTo(box);
            d.typeText(box, "typed into " + name);
            EXPECT_TRUE(d.pressEnter()) << name;
            unloaded = d.isUnloaded();
        });
        w.click(w.SETTINGS_BUTTON);
        EXPECT_TRUE(unloaded) << "Enter in " << name << " closes the dialog";
        EXPECT_EQ(stored(name), "typed into " + name) << "Enter in " << name << " stores as OK does";
    }
}

TEST_F(Dialogs, TheCloseBoxDiscardsEditsAndStoresOnlyThePosition)
{
    storeTexts();
    auto& w = start();
    loop.onNextModal([&](Form& form) {
        auto& d = asSettings(form);
        EXPECT_EQ(d.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER");
        d.typeText(d.WINDOW_NAME_TEXTBOX, "OTHER");
        d.movedTo(2000, 3000);
        d.close();
    });
    w.click(w.SETTINGS_BUTTON);
    EXPECT_EQ(store.writes(), (std::vector<MemoryStore::Write>{{"vt-haltward", "MESSAGE-SETTINGS-Left", "2000"},
                                                               {"vt-haltward", "MESSAGE-SETTINGS-Top", "3000"}}));
    EXPECT_EQ(w.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER");

    loop.onNextModal([&](Form& form) {
        auto& d = asSettings(form);
        EXPECT_EQ(d.WINDOW_NAME_TEXTBOX.text(), "SPIGOT-SERVER") << "the next opening shows the stored text";
        EXPECT_EQ(d.left(), 2000);
        EXPECT_EQ(d.top(), 3000);
        EXPECT_EQ(d.width(), 8640) << "the size is never written";
        d.close();
    });
    w.click(w.SETTINGS_BUTTON);
}

TEST_F(Dialogs, AboutShowsTheEmailOnDoubleClickUntilItCloses)
{
    auto& w = start();
    loop.onNextModal([&](Form& form) {
        auto& d = asAbout(form);
        EXPECT_EQ(d.caption(), "VT-HALTWARD - ABOUT");
        EXPECT_EQ(d.width(), 7455);
        EXPECT_EQ(d.height(), 4185);
        EXPECT_EQ(d.focused(), &d.OK_BUTTON);
        EXPECT_EQ(d.VT_HALTWARD_CREATOR.caption(), "Created By Quorin52");
        EXPECT_TRUE(d.doubleClick(d.VT_HALTWARD_CREATOR));
        EXPECT_EQ(d.VT_HALTWARD_CREATOR.caption(), VT_HALTWARD_ABOUT::kCreatorEmail);
        d.movedTo(4000, 500);
        d.pressEnter();
    });
    w.click(w.ABOUT_BUTTON);
    EXPECT_EQ(stored("ABOUT-Left"), "4000");
    EXPECT_EQ(stored("ABOUT-Top"), "500");
    EXPECT_EQ(store.writes().size(), 4u) << "OK writes the position, then the unload writes it again";

    loop.onNextModal([&](Form& form) {
        auto& d = asAbout(form);
        EXPECT_EQ(d.VT_HALTWARD_CREATOR.caption(), "Created By Quorin52");
        EXPECT_EQ(d.left(), 4000);
        d.close();
    });
    w.click(w.ABOUT_BUTTON);
    EXPECT_EQ(store.writes().size(), 6u);
}

TEST_F(Dialogs, AboutOpensAtItsDefaultPlaceAndAfterTheCloseBoxWhereItWasMoved)
{
    auto& w = start();
    loop.onNextModal([&](Form& form) {
        EXPECT_EQ(form.left(), 1000);
        EXPECT_EQ(form.top(), 1000);
        form.movedTo(2345, 678);
        EXPECT_TRUE(form.close());
    });
    w.click(w.ABOUT_BUTTON);
    EXPECT_EQ(store.writes(), (std::vector<MemoryStore::Write>{{"vt-haltward", "ABOUT-Left", "2345"},
                                                               {"vt-haltward", "ABOUT-Top", "678"}}));
    loop.onNextModal([&](Form& form) {
        EXPECT_EQ(form.left(), 2345);
        EXPECT_EQ(form.top(), 678);
        EXPECT_EQ(form.width(), 7455) << "the size is never written";
        EXPECT_EQ(form.height(), 4185);
        form.close();
    });
    w.click(w.ABOUT_BUTTON);
}

TEST_F(Dialogs, AutoCloseWhileADialogIsOpenClosesTheDialogFirstAndStoresEverything)
{
    storeTexts();
    storeValue("AUTOSTART_RESTART_TICKBOX", "1");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    console.openWindow("SPIGOT-SERVER");
    auto& w = start();
    loop.onNextModal([&](Form& form) {
        form.movedTo(111, 222);
        loop.advance(215);
        EXPECT_TRUE(form.isUnloaded());
    });
    w.click(w.ABOUT_BUTTON);
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(stored("ABOUT-Left"), "111");
    EXPECT_EQ(stored("AUTOSTART_RESTART_TICKBOX"), "1");
    EXPECT_EQ(stored("AUTOCLOSE_TICKBOX"), "1");
    ASSERT_GE(store.writes().size(), 2u);
    EXPECT_EQ(store.writes()[0].key, "ABOUT-Left") << "the dialog's position is stored before the main window's";
}

} // namespace
} // namespace vt::testing

TEST(AboutVersion, ShowsMajorAndMinorAndAPatchNumberOnlyWhenThereIsOne)
{
    EXPECT_EQ(vt::versionCaption("1.0.0"), "Version 1.0");
    EXPECT_EQ(vt::versionCaption("2.3.0"), "Version 2.3");
    EXPECT_EQ(vt::versionCaption("1.0.1"), "Version 1.0.1");
    EXPECT_EQ(vt::versionCaption("1.10.20"), "Version 1.10.20");
    EXPECT_EQ(vt::versionCaption("1.0"), "Version 1.0") << "a two-part version loses nothing";
    EXPECT_EQ(vt::versionCaption("10.0.0"), "Version 10.0");
}
