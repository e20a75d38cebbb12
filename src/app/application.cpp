#include "application.h"

#include "app/core/caption.h"
#include "app/core/commands.h"
#include "display/histogram.h"
#include "display/palette.h"
#include "display/view_commands.h"
#include "display/window_display.h"
#include "camera/camera_module.h"
#include "files/files_module.h"
#include "files/settings_file.h"
#include "files/settings_values.h"
#include "guiding/guiding_module.h"
#include "processing/processing_module.h"
#include "help_commands.h"
#include "app/core/mouse_modes.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "store/planes.h"
#include "store/store_state.h"
#include "undo_command.h"

#include <cstring>

namespace {
void reset_program_state()
{
    reset_store();
    reset_window_display();
    reset_files_module();
    reset_processing_module();
    reset_camera_module();
    reset_guiding_module();
    clear_commands();
    mouse_modes = {};
    FileName = "(Untitled)";
    std::memset(table, 0, sizeof table);
    most_pop = 0;
}

void register_window_commands()
{
    register_command(9, undo_restore_option);
    register_command(112, Help_Using, CommandKind::Free);
    register_command(113, Help_About, CommandKind::Free);
    register_command(24310, [] { if (services().frame) services().frame->close(); }, CommandKind::Free);
    const auto telescope_configured = [] { return CommandState{telescope != 'n', false}; };
    register_enabler(22, telescope_configured);
    register_enabler(23, telescope_configured);
    register_enabler(24, telescope_configured);
}

void register_all_commands()
{
    register_window_commands();
    register_display_commands();
    register_files_module();
    register_processing_module();
    register_camera_module();
    register_guiding_module();
}
}

bool telescope_button_wanted()
{
    return telescope != 'n';
}

void start_program()
{
    reset_program_state();
    register_all_commands();
    LoadINIFile(INI_FILE);   // at start-up a failed load is not reported
    if (MainFrame* frame = services().frame) {
        frame->set_caption("Skyvane");
        frame->set_telescope_button(telescope_button_wanted());
    }
    reset_cursors();
    build_grey_palette();
    fill_test_image();
    std::memset(table, 0, sizeof table);
}
