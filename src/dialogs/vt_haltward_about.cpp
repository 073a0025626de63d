#include "dialogs/vt_haltward_about.h"

#include "settings/settings.h"
#include "vt_version.h"

namespace vt {

namespace {

constexpr WindowStyle kStyle{7365, 3810, false, 8.25};
const Look kDisplay = displayLook(12);

Look hintLook()
{
    Look look = boldLook(8.25);
    look.hasForeground = true;
    look.foreground = kRed;
    look.border = true;
    return look;
}

} // namespace

// The label has always read "Version 1.0" for release 1.0.0: major and minor,
// and the patch number only when there is one, so a 1.0.1 is told apart.
std::string versionCaption(std::string_view version)
{
    std::string_view shown = version;
    const auto lastDot = version.rfind('.');
    if (lastDot != std::string_view::npos && version.find('.') != lastDot && version.substr(lastDot + 1) == "0")
        shown = version.substr(0, lastDot);
    return "Version " + std::string(shown);
}

VT_HALTWARD_ABOUT::VT_HALTWARD_ABOUT(Services& services)
    : Form(services, "VT_HALTWARD_ABOUT", "VT-HALTWARD - ABOUT", kStyle),
      OK_BUTTON(*this, "OK_BUTTON", {2640, 3120, 2055, 495}, 0, "OK"),
      VT_HALTWARD_VERSION(*this, "VT_HALTWARD_VERSION", {3720, 720, 3495, 465}, 1, versionCaption(VT_VERSION),
                          kDisplay),
      VT_HALTWARD_TITLE_1(*this, "VT_HALTWARD_TITLE_1", {120, 120, 7095, 480}, 2, "VALE-TINKER - VT-HALTWARD",
                          kDisplay),
      VT_HALTWARD_CREATOR(*this, "VT_HALTWARD_CREATOR", {120, 1320, 7095, 450}, 3, kCreatorLine, kDisplay),
      VT_HALTWARD_FREEWARE(*this, "VT_HALTWARD_FREEWARE", {120, 720, 3495, 465}, 4, "!!! FREEWARE !!!", kDisplay),
      USE_TITLE_TEXTBOX(*this, "USE_TITLE_TEXTBOX", {240, 2040, 6855, 735}, 5,
                        "USE \"TITLE\" AT THE TOP OF YOUR \"START-SPIGOT-SERVER.BAT\" SCRIPT TO SET THE "
                        "\"CMD WINDOW TITLE\" eg - TITLE SPIGOT-SERVER",
                        hintLook(), true),
      Line1(*this, "Line1", 120, 1920, 7200, 1920), Line2(*this, "Line2", 240, 2880, 7320, 2880)
{
    // The hint is for reading: it takes no focus and no edits.
    USE_TITLE_TEXTBOX.setReadOnly(true);
    OK_BUTTON.setDefault(true);
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    VT_HALTWARD_CREATOR.onDblClick = [this] { VT_HALTWARD_CREATOR_DblClick(); };
}

void VT_HALTWARD_ABOUT::Form_Load()
{
    const Settings settings = Settings::loaded(services());
    setLeft(settings.readTwips(key::AboutLeft));
    setTop(settings.readTwips(key::AboutTop));
    setWidth(settings.readTwips(key::AboutWidth));
    setHeight(settings.readTwips(key::AboutHeight));
}

void VT_HALTWARD_ABOUT::VT_HALTWARD_CREATOR_DblClick()
{
    VT_HALTWARD_CREATOR.setCaption(kCreatorEmail);
}

void VT_HALTWARD_ABOUT::OK_BUTTON_Click()
{
    storePosition();
    unload();
}

void VT_HALTWARD_ABOUT::Form_Unload(int& cancel)
{
    (void)cancel;
    storePosition();
}

void VT_HALTWARD_ABOUT::storePosition()
{
    const Settings settings(services());
    settings.writeTwips(key::AboutLeft, left());
    settings.writeTwips(key::AboutTop, top());
}

} // namespace vt
