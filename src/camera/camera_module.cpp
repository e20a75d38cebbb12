#include "camera_module.h"

#include <cstdio>

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "camera/sequencer_commands.h"
#include "display/display_frame.h"
#include "display/window_display.h"
#include "store/flags.h"
#include "store/geometry.h"

namespace {
// Opens the camera link the way the camera command does on first use; false without a camera.
bool camera_ready()
{
    if (!got_zr) {
        usb_hid().CollectingUSBHidInfo();
        ZR_reader();
        if (!got_zr) {
            messages(50, "Sorry, No camera found on USB");
            return false;
        }
    }
    return true;
}

// Camera check commands, reached from scripts only: one focus frame (its peak measure shown in
// a box) and one binned frame, both with the camera dialog's exposure. The focus frame goes to
// the focus display file as the camera dialog shows it; the binned frame to the main window.
void check_focus_frame()
{
    if (!camera_ready())
        return;
    LongOperation busy;
    max_value = ZR_camera_read();
    focus_mode = 1;
    DisplayImage();
    write_bitmap();
    focus_mode = 0;
    char text[64];
    std::snprintf(text, sizeof text, "Focus frame peak = %d", max_value);
    messages(50, text);
}

void check_binned_frame()
{
    if (!camera_ready())
        return;
    LongOperation busy;
    exposure = range_exposure(exp_range, exp_value);
    ZR_clearvert();
    ZR_wiper();
    host_timed_exposure(exposure);
    ZR_reader();
    ZR_binned_read();
    set_frame_geometry(true);
    focus_mode = 0;
    image_name = "QV Camera Image";
    image_prepare();
}
}

void reset_camera_module()
{
    reset_usb_link();
    reset_readout();
    reset_sequencer();
}

void register_camera_module()
{
    register_command(CAMERA_CHECK_FOCUS_FRAME, check_focus_frame);
    register_command(CAMERA_CHECK_BINNED_FRAME, check_binned_frame);
    register_sequencer_commands();
}
