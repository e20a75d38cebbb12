#include "files_module.h"

#include "settings_values.h"

void reset_files_module()
{
    reset_settings_values();
}

void register_files_module()
{
}
