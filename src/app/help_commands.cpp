#include "help_commands.h"

#include "app/core/messages.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/services.h"

std::string help_index_file;

namespace {
class TAboutDialog : public Dialog {
public:
    TAboutDialog()
        : Dialog(15, "Help About SKYVANE", 380, 150, {
              {-1, ControlKind::Static, "SKYVANE Image processing software for use with Halvoran QV cameras", 16, 14, 350, 36},
              {-1, ControlKind::Static, "Version  -  2.0g", 16, 56, 200, 18},
              {-1, ControlKind::Static, "Date  -  07/02/2003", 16, 78, 200, 18},
              {IDOK, ControlKind::DefaultButton, "OK", 150, 110, 80, 26},
          })
    {
    }
};
}

void Help_Using()
{
    if (!services().desktop->show_help(help_index_file))
        services().boxes->show(APP_NAME, "WinHelp failed!", BoxButtons::Ok, BoxIcon::Stop);
}

void Help_About()
{
    TAboutDialog dialog;
    dialog.Execute();
}
