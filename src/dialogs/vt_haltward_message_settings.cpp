#include "dialogs/vt_haltward_message_settings.h"

#include "app/vt_haltward_main.h"
#include "console/message_notation.h"
#include "settings/settings.h"

namespace vt {

namespace {

constexpr WindowStyle kStyle{8550, 5370, false, 8.25};
const Look kBold = boldLook(8.25);

} // namespace

VT_HALTWARD_MESSAGE_SETTINGS::VT_HALTWARD_MESSAGE_SETTINGS(Services& services, VT_HALTWARD_MAIN& main)
    : Form(services, "VT_HALTWARD_MESSAGE_SETTINGS", "VT-HALTWARD - Settings & Messages", kStyle),
      OK_BUTTON(*this, "OK_BUTTON", {3240, 4680, 2055, 495}, 0, "OK"),
      WINDOW_NAME_TEXTBOX(*this, "WINDOW_NAME_TEXTBOX", {3000, 120, 5415, 375}, 1, "", kBold),
      SERVER_NAME_TEXTBOX(*this, "SERVER_NAME_TEXTBOX", {2520, 600, 5895, 375}, 2, "", kBold),
      THREE_MIN_MESSAGE_TEXTBOX(*this, "THREE_MIN_MESSAGE_TEXTBOX", {240, 1440, 8175, 375}, 3, "", kBold),
      TWO_MIN_MESSAGE_TEXTBOX(*this, "TWO_MIN_MESSAGE_TEXTBOX", {240, 2280, 8175, 375}, 4, "", kBold),
      ONE_MIN_MESSAGE_TEXTBOX(*this, "ONE_MIN_MESSAGE_TEXTBOX", {240, 3120, 8175, 375}, 5, "", kBold),
      SHUTDOWN_RESTART_MESSAGE_TEXTBOX(*this, "SHUTDOWN_RESTART_MESSAGE_TEXTBOX", {240, 3960, 8175, 375}, 6, "", kBold),
      SERVER_NAME_LABEL(*this, "SERVER_NAME_LABEL", {240, 720, 2175, 255}, 7, "SPIGOT SERVER NAME:", kBold),
      THREE_MIN_MESSAGE_LABEL(*this, "THREE_MIN_MESSAGE_LABEL", {240, 1200, 3135, 255}, 8,
                              "\"3 MINUTE WARNING\" MESSAGE:", kBold),
      TWO_MIN_MESSAGE_LABEL(*this, "TWO_MIN_MESSAGE_LABEL", {240, 2040, 3135, 255}, 9,
                            "\"2 MINUTE WARNING\" MESSAGE:", kBold),
      ONE_MIN_MESSAGE_LABEL(*this, "ONE_MIN_MESSAGE_LABEL", {240, 2880, 3135, 255}, 10,
                            "\"1 MINUTE WARNING\" MESSAGE:", kBold),
      Label1(*this, "Label1", {240, 3720, 4935, 255}, 11, "\"SHUTTING DOWN\" / \"RESTARTING NOW\" MESSAGE:", kBold),
      WINDOW_NAME_LABEL(*this, "WINDOW_NAME_LABEL", {240, 120, 2775, 375}, 12,
                        "\"START-SPIGOT-SERVER.bat\" WINDOW NAME:", kBold),
      Line1(*this, "Line1", 240, 1080, 8400, 1080), Line2(*this, "Line2", 240, 1920, 8400, 1920),
      Line3(*this, "Line3", 240, 2760, 8400, 2760), Line4(*this, "Line4", 240, 3600, 8400, 3600),
      Line5(*this, "Line5", 240, 4440, 8400, 4440), main_(main)
{
    OK_BUTTON.setDefault(true);
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
}

void VT_HALTWARD_MESSAGE_SETTINGS::Form_Load()
{
    const Settings settings = Settings::loaded(services());
    setLeft(settings.readTwips(key::MessageSettingsLeft));
    setTop(settings.readTwips(key::MessageSettingsTop));
    setWidth(settings.readTwips(key::MessageSettingsWidth));
    setHeight(settings.readTwips(key::MessageSettingsHeight));
    WINDOW_NAME_TEXTBOX.setText(settings.readText(key::WindowName));
    SERVER_NAME_TEXTBOX.setText(settings.readText(key::ServerName));
    THREE_MIN_MESSAGE_TEXTBOX.setText(settings.readText(key::ThreeMinMessage));
    TWO_MIN_MESSAGE_TEXTBOX.setText(settings.readText(key::TwoMinMessage));
    ONE_MIN_MESSAGE_TEXTBOX.setText(settings.readText(key::OneMinMessage));
    SHUTDOWN_RESTART_MESSAGE_TEXTBOX.setText(settings.readText(key::ShutdownRestartMessage));
}

void VT_HALTWARD_MESSAGE_SETTINGS::OK_BUTTON_Click()
{
    // A message that can never be typed is refused here, with its position:
    // the dialog stays open and nothing is stored.
    checkMessageNotation(runMessages(THREE_MIN_MESSAGE_TEXTBOX.text(), TWO_MIN_MESSAGE_TEXTBOX.text(),
                                     ONE_MIN_MESSAGE_TEXTBOX.text(), SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text()));
    // One write of all eight keys: a failure leaves the stored texts as they
    // were, never half old and half new.
    Settings(services())
        .writeAll({
            {&key::MessageSettingsLeft, formatTwips(left())},
            {&key::MessageSettingsTop, formatTwips(top())},
            {&key::WindowName, WINDOW_NAME_TEXTBOX.text()},
            {&key::ServerName, SERVER_NAME_TEXTBOX.text()},
            {&key::ThreeMinMessage, THREE_MIN_MESSAGE_TEXTBOX.text()},
            {&key::TwoMinMessage, TWO_MIN_MESSAGE_TEXTBOX.text()},
            {&key::OneMinMessage, ONE_MIN_MESSAGE_TEXTBOX.text()},
            {&key::ShutdownRestartMessage, SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text()},
        });
    main_.SERVER_NAME_LABEL.setCaption(SERVER_NAME_TEXTBOX.text());
    main_.THREE_MIN_MESSAGE_TEXTBOX.setText(THREE_MIN_MESSAGE_TEXTBOX.text());
    main_.TWO_MIN_MESSAGE_TEXTBOX.setText(TWO_MIN_MESSAGE_TEXTBOX.text());
    main_.ONE_MIN_MESSAGE_TEXTBOX.setText(ONE_MIN_MESSAGE_TEXTBOX.text());
    main_.SHUTDOWN_RESTART_MESSAGE_TEXTBOX.setText(SHUTDOWN_RESTART_MESSAGE_TEXTBOX.text());
    main_.WINDOW_NAME_TEXTBOX.setText(WINDOW_NAME_TEXTBOX.text());
    unload();
}

void VT_HALTWARD_MESSAGE_SETTINGS::Form_Unload(int& cancel)
{
    (void)cancel;
    storePosition();
}

void VT_HALTWARD_MESSAGE_SETTINGS::storePosition()
{
    Settings(services())
        .writeAll({
            {&key::MessageSettingsLeft, formatTwips(left())},
            {&key::MessageSettingsTop, formatTwips(top())},
        });
}

} // namespace vt
