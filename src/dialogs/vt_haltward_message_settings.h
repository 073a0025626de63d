#pragma once

#include "platform/ui/form.h"

namespace vt {

class VT_HALTWARD_MAIN;

// Where the operator edits the console title, the server name and the four
// warning texts. It always starts from the stored values; OK stores them and
// copies them into the main window, any other close discards the edits.
class VT_HALTWARD_MESSAGE_SETTINGS : public Form {
public:
    VT_HALTWARD_MESSAGE_SETTINGS(Services& services, VT_HALTWARD_MAIN& main);

    CommandButton OK_BUTTON;
    TextBox WINDOW_NAME_TEXTBOX;
    TextBox SERVER_NAME_TEXTBOX;
    TextBox THREE_MIN_MESSAGE_TEXTBOX;
    TextBox TWO_MIN_MESSAGE_TEXTBOX;
    TextBox ONE_MIN_MESSAGE_TEXTBOX;
    TextBox SHUTDOWN_RESTART_MESSAGE_TEXTBOX;
    Label SERVER_NAME_LABEL;
    Label THREE_MIN_MESSAGE_LABEL;
    Label TWO_MIN_MESSAGE_LABEL;
    Label ONE_MIN_MESSAGE_LABEL;
    Label Label1;
    Label WINDOW_NAME_LABEL;
    Line Line1;
    Line Line2;
    Line Line3;
    Line Line4;
    Line Line5;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void OK_BUTTON_Click();

private:
    void storePosition();
    VT_HALTWARD_MAIN& main_;
};

} // namespace vt
