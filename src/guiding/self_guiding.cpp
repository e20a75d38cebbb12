#include "self_guiding.h"

#include "app/core/messages.h"
#include "camera/info_dialog.h"
#include "camera/sequence_state.h"
#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "display/window_display.h"
#include "files/settings_values.h"
#include "guiding_loop.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "processing/star_centroid.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "telescope_protocol.h"

using guide_ref::x1;
using guide_ref::y1;

namespace {
void set_caption(const char* text)
{
    info_caption = text;
    if (TInfoDialog* info = guiding_info_window())
        info->InfoCaption();
}

void info_update()
{
    if (TInfoDialog* info = guiding_info_window())
        info->InfoUpdate();
}

void show_frame() { image_prepare(); }

// Measures around the reference and takes a measured star as the new reference, with tenths.
// False when the measurement failed. With ROWS_ONLY the column stays: after the switch of the
// guiding field the star sits in other rows of the sensor but in the same columns, and taking
// the column again would lock in the drift of the seconds the switch took.
bool new_reference(bool rows_only = false)
{
    CentreOutcome outcome;
    find_centre(x1, y1, image.fred3, cur_rad, &outcome);
    if (outcome == CentreOutcome::Failed)
        return false;
    if (outcome == CentreOutcome::Measured) {
        if (!rows_only) {
            x1 = xcent;
            x1dec = xcentdec;
        }
        y1 = ycent;
        y1dec = ycentdec;
        remember_star_peak(image.fred3);
    }
    return true;
}
}

int StartSelfGuide()
{
    image.point_at(image_int);
    if (services().frame)
        services().frame->invalidate();
    if (telescope == 'n' || !got_zr || !picked_star) {
        messages(53);
        return 1;
    }
    comm_check(false);
    if (!comfound) {
        messages(54);
        return 2;
    }
    set_caption("Guiding Info - Creating Guiding Frame");
    if (telescope == 'b')
        interface_CR();
    training = 0;
    continuous_delay = 0;
    cur_rad = star_mask;
    calc_guideframe();
    if (selfguidinghigh) {
        if (binned) {
            binned = 0;
            highres_intl = 1;
            QV_binned();
        }
    } else if (!binned) {
        set_frame_geometry(true);
    }
    end_loop = 0;
    x1 = xcent;
    y1 = ycent;
    x1dec = y1dec = 0;
    reference_peak = 0;
    set_caption("Guiding Info - stabilising");
    for (int frame = 0; frame < 3; ++frame) {
        ZR_camera_selfguide();
        show_frame();
        first_selfguide = 1;
        got_guide_image = 1;
        info_update();
    }
    if (!new_reference()) {
        guiding = 0;
        tracking = 0;
        return 3;
    }
    set_caption("Guiding Info");
    info_update();
    ZR_camera_selfguide();
    if (!new_reference()) {
        guiding = 0;
        tracking = 0;
        return 3;
    }
    info_update();
    return 0;
}

void SelfGuide()
{
    ZR_camera_selfguide();
    if (selfguiding_darkframe)
        return;
    show_frame();
    got_guide_image = 1;
    if (guide_telescope(image.fred3) != 0) {
        selfguiding = 0;
        guiding = 0;
        return;
    }
    info_update();
}

void SwitchSelfGuide()
{
    const bool dark = selfguiding_darkframe != 0;
    set_caption("Guiding Info - Switching Guiding Frame");
    if (!dark)
        show_frame();
    first_selfguide = 1;
    ZR_camera_selfguide();
    if (!dark)
        show_frame();
    ZR_camera_selfguide();
    show_frame();
    if (!dark) {
        info_update();
        new_reference(true);
    }
    set_caption(dark ? "Guiding Info - Darkframe in Progress" : "Guiding Info");
    ZR_camera_selfguide();
    if (!dark) {
        new_reference(true);
        info_update();
    }
}

void find_control_box()
{
    // Only the control box guides a self-guided exposure; a port chosen for an LX200 mount (or no
    // interface at all) is not opened as a box.
    if (telescope != 'b')
        return;
    if (!comfound)
        interface_check();
    interface_CR();
    if (!comfound)
        close_drive();
}
