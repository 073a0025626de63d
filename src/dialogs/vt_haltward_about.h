#pragma once

#include <string>
#include <string_view>

#include "platform/ui/form.h"

namespace vt {

// The version label's text for a "major.minor.patch" version: "Version 1.0" for 1.0.0.
std::string versionCaption(std::string_view version);

// The program's title, version, creator line and the hint on titling the
// server console window. It changes nothing but its own stored position.
class VT_HALTWARD_ABOUT : public Form {
public:
    explicit VT_HALTWARD_ABOUT(Services& services);

    static constexpr const char* kCreatorLine = "Created By Quorin52";
    static constexpr const char* kCreatorEmail = "quorin52@vt-haltward.example";

    CommandButton OK_BUTTON;
    Label VT_HALTWARD_VERSION;
    Label VT_HALTWARD_TITLE_1;
    Label VT_HALTWARD_CREATOR;
    Label VT_HALTWARD_FREEWARE;
    TextBox USE_TITLE_TEXTBOX;
    Line Line1;
    Line Line2;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void OK_BUTTON_Click();
    void VT_HALTWARD_CREATOR_DblClick();

private:
    void storePosition();
};

} // namespace vt
