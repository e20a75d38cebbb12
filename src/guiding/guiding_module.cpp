#include "guiding_module.h"

#include "app/core/commands.h"
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
}
