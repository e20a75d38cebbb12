// "Set Program Defaults": the dialog over most settings values, and the command that loads the
// settings before it and saves them after "Save Changes".
#pragma once
#include "platform/dialog.h"

class TINIDialog : public Dialog {
public:
    static constexpr int RESOURCE = 17;
    TINIDialog();
    void SetupWindow() override;
    void Paint(Painter&) override;

private:
    void ShowValues();
    void ReadNumbers();
    void SetDirectory();
};

void CmINI();
// Debug Info Mode also switches the link's interface details; the camera code installs it.
extern int Show_Interface_Details;
