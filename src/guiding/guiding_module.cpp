#include "guiding_module.h"

#include "app/core/commands.h"
#include "files/settings_file.h"
#include "telescope_dialogs.h"
#include "telescope_protocol.h"

void reset_guiding_module()
{
    reset_telescope_protocol();
    reset_telescope_dialogs();
}

void register_guiding_module()
{
    register_command(24, CmControl);
    // The port checks read the settings file first and write the defaults back when it fails.
    telescope_settings_seam() = {[] { return LoadINIFile(INI_FILE) == 0; }, [] { SaveINIFile(INI_FILE); }};
}
