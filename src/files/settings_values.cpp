#include "settings_values.h"

char telescope = 'n';

void reset_settings_values()
{
    telescope = 'n';
}
