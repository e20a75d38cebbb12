#include "camera_module.h"

void reset_camera_module()
{
}

void register_camera_module()
{
}
