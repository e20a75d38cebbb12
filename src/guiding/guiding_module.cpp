#include "guiding_module.h"

void reset_guiding_module()
{
}

void register_guiding_module()
{
}
