#include "camera_module.h"

#include "camera/usb_hid.h"
#include "camera/zr_readout.h"

void reset_camera_module()
{
    reset_usb_link();
    reset_readout();
}

void register_camera_module()
{
}
