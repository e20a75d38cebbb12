#include "files_module.h"

#include "app/core/commands.h"
#include "autosave.h"
#include "export_commands.h"
#include "fits_dialog.h"
#include "fits_file.h"
#include "ini_dialog.h"
#include "raw_file.h"
#include "settings_file.h"
#include "settings_values.h"

void reset_files_module()
{
    reset_settings_values();
    reset_raw_file_state();
    reset_fits_state();
    reset_autosave_state();
    set_time_zone_rule();
    Show_Interface_Details = 0;
    merge_image_opening = nullptr;
    merge_image_opened = nullptr;
}

void register_files_module()
{
    register_command(24332, CmFileOpen);
    register_command(24333, CmFileSave, CommandKind::Free);
    register_command(24334, CmTifSave, CommandKind::Free);
    register_command(24335, CmFITSSave, CommandKind::Free);
    register_command(24336, CmSaveAsFits, CommandKind::Free);
    register_command(13, CmFileDelete, CommandKind::Free);
    register_command(19, CmEditFITSText);   // reloads every setting
    register_command(20, CmViewFITSText, CommandKind::Free);
    register_command(121, CmINI);
    register_command(24359, CmCopy, CommandKind::Free);
    register_command(116, CmPrint, CommandKind::Free);
    register_command(114, CmPrintSetup, CommandKind::Free);
    register_enabler(24359, [] { return CommandState{CeCopy(), false}; });
}
