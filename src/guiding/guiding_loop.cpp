#include "guiding_loop.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "app/core/stop_poll.h"
#include "camera/info_dialog.h"
#include "camera/sequence_state.h"
#include "camera/sequencer.h"
#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "display/window_display.h"
#include "files/settings_values.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/event_pump.h"
#include "platform/services.h"
#include "processing/star_centroid.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "telescope_protocol.h"

int fst = 1;
int x1dec = 0, y1dec = 0;
char lastslewx = 'e', lastslewy = 'n';
int reference_peak = 0;

using guide_ref::x1;
using guide_ref::y1;

void reset_guiding_loop()
{
    fst = 1;
    x1dec = y1dec = 0;
    lastslewx = 'e';
    lastslewy = 'n';
    reference_peak = 0;
}

int star_peak(const uint16_t* fredptr)
{
    const bool subframe = guiding || tracking;
    const int width = subframe ? SUBFRAME_SIDE : width1;
    const int height = subframe ? SUBFRAME_SIDE : height1;
    int peak = 0;
    for (int y = y1 - cur_rad; y <= y1 + cur_rad; ++y)
        for (int x = x1 - cur_rad; x <= x1 + cur_rad; ++x)
            if (x >= 0 && y >= 0 && x < width && y < height)
                peak = std::max<int>(peak, fredptr[y * width + x]);
    return peak - most_pop1 * 16;
}

void remember_star_peak(const uint16_t* fredptr)
{
    reference_peak = star_peak(fredptr);
}

AxisPulse axis_pulse(int32_t error, int threshold, char plus, char minus, char& last, int backlash, int rate,
                     int hyst)
{
    AxisPulse p;
    if (std::abs(error) <= threshold)
        return p;
    p.corrected = true;
    p.direction = error > 0 ? plus : minus;
    if (p.direction != last)
        error += backlash;
    last = p.direction;
    // Thousandths of a pixel over pixels per second: milliseconds.
    p.slew_time = std::abs(error / (rate > 0 ? rate : 1)) - hyst * 100;
    return p;
}

namespace {
void send_pulse(const AxisPulse& p)
{
    if (!p.corrected || p.slew_time <= 0)
        return;
    services().desktop->beep();
    slewdir = p.direction;
    slew_time = p.slew_time;
    if (telescope == 'l')
        drive_slew();
    else
        interface_slew();
    services().desktop->beep();
}

void wait_ms(int ms)
{
    Clock& clock = *services().clock;
    const int64_t end = clock.ticks() + ms;
    while (clock.ticks() < end) {
    }
}

// Measures around (X, Y) and, when a star was measured, takes the result with its tenths as the
// reference. False when the measurement failed.
bool take_reference(int x, int y, const uint16_t* fredptr, CentreOutcome& outcome)
{
    find_centre(x, y, fredptr, cur_rad, &outcome);
    if (outcome == CentreOutcome::Failed)
        return false;
    x1 = xcent;
    y1 = ycent;
    x1dec = xcentdec;
    y1dec = ycentdec;
    if (outcome == CentreOutcome::Measured)
        remember_star_peak(fredptr);
    return true;
}

bool ready_to_guide()
{
    if (telescope == 'n' || !got_zr || !picked_star) {
        messages(53);
        return false;
    }
    comm_check(false);
    if (!comfound) {
        messages(54);
        return false;
    }
    return true;
}
}

int guide_telescope(const uint16_t* fredptr)
{
    CentreOutcome outcome;
    find_centre(x1, y1, fredptr, cur_rad, &outcome);
    if (outcome == CentreOutcome::Failed) {
        guiding = 0;
        selfguiding = 0;
        tracking = 0;
        return 3;
    }
    // No star in this frame (a cloud, a gust): the last pulse must not repeat, so nothing is
    // corrected and the reference stays for the next frame.
    if (outcome == CentreOutcome::NothingFound)
        return 0;
    // Only noise in the window (find_centre measures noise as readily as a star): likewise.
    if (reference_peak > 0 && static_cast<int64_t>(star_peak(fredptr)) * 10 < static_cast<int64_t>(reference_peak) * 3)
        return 0;
    const int32_t dx = (x1 - xcent) * 1000 + (x1dec - xcentdec) * 100;
    const int32_t dy = (y1 - ycent) * 1000 + (y1dec - ycentdec) * 100;
    x3 = static_cast<int16_t>(dx);
    y3 = static_cast<int16_t>(dy);
    const AxisPulse ra = axis_pulse(dx, ignore_small ? 1000 : 20, e, w, lastslewx, backlashx, slewx, hystx);
    send_pulse(ra);
    if (Losmandy_pause)
        wait_ms(70);
    const AxisPulse dec = axis_pulse(dy, ignore_small ? 1000 : 30, n, s, lastslewy, backlashy, slewy, hysty);
    send_pulse(dec);
    return 0;
}

void CmStartGuide()
{
    if (!ready_to_guide())
        return;
    LongOperation busy;
    WaitCursor wait(*services().desktop);
    if (telescope == 'b')
        interface_CR();
    guiding = 1;
    training = 0;
    continuous = 1;
    continuous_delay = 0;
    cur_rad = star_mask;
    calc_guideframe();
    end_loop = 0;
    x1 = xcent;
    y1 = ycent;
    x1dec = y1dec = 0;
    reference_peak = 0;
    std::unique_ptr<TInfoDialog> info;
    image.point_at(image_int);
    while (continuous) {
        clear_messages(1);
        if (services().pump->quitting()) {
            continuous = 0;
            end_loop = 1;
        }
        if (!continuous)
            break;
        ZR_camera_guide();
        if (fst) {
            CentreOutcome outcome;
            if (!take_reference(xcent, ycent, image.fred3, outcome)) {
                continuous = 0;
                end_loop = 1;
            } else if (outcome == CentreOutcome::Measured) {
                take_reference(xcent, ycent, image.fred3, outcome);
                fst = 0;
                info_caption = "Guiding Info";
                info = std::make_unique<TInfoDialog>();
                info->Create();
                info->InfoCaption();
            }
            // Nothing found in the first frame: the next frame is taken as the first again.
        }
        clear_messages(1);
        if (!end_loop) {
            image_prepare();
            got_guide_image = 1;
            if (!fst && guide_telescope(image.fred3) != 0)
                continuous = 0;
            if (info && info->is_open())
                info->InfoUpdate();
        }
    }
    messages(51);
    info.reset();
    fst = 1;
    end_loop = 0;
    guiding = 0;
    tracking = 0;
    got_guide_image = 0;
    CmFocusFrameReset();
    xcent = old_xcent;
    ycent = old_ycent;
}
