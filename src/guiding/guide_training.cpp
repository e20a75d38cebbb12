#include "guide_training.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "app/core/stop_poll.h"
#include "camera/info_dialog.h"
#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "display/window_display.h"
#include "files/settings_file.h"
#include "files/settings_values.h"
#include "platform/desktop.h"
#include "platform/event_pump.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "processing/star_centroid.h"
#include "store/flags.h"
#include "store/planes.h"
#include "telescope_protocol.h"

int fst_run = 1;

void reset_guide_training()
{
    fst_run = 1;
}

TrainingResults training_results(const TrainingPositions& p, int T)
{
    TrainingResults r;
    const int t = T > 0 ? T : 1;
    r.slewx = (std::abs(p.x[2] - p.x[3]) + std::abs(p.x[4] - p.x[5])) / (2 * t);
    r.backlashx = (std::abs(p.x[1] - p.x[5]) + std::abs(p.x[2] - p.x[4])) / (2 * t);
    r.slewy = std::max(std::abs(p.y[2] - p.y[3]), std::abs(p.y[4] - p.y[5])) / t;
    r.backlashy = std::max(std::abs(p.y[2] - p.y[4]), std::abs(p.y[1] - p.y[5])) / t;
    return r;
}

void GuideTelescope()
{
    image.point_at(image_int);
    ZR_camera_guide();
    clear_messages(1);
    if (!end_loop)
        image_prepare();
    if (training) {
        if (services().frame)
            services().frame->invalidate();
    } else if (TInfoDialog* info = guiding_info_window()) {
        info->InfoUpdate();
    }
}

namespace {
// A stop request (or the end of the program) arrived while training.
bool stopped()
{
    return end_loop || !guiding || services().pump->quitting();
}

// One step: a pulse of MS ms towards LETTER, a guide frame, and the star measured around where it
// was, then around that result. False when the star could not be measured or a stop arrived.
bool training_step(uint16_t* fredptr, char letter, int ms)
{
    const int startx = xcent, starty = ycent;
    slewdir = letter;
    slew_time = ms;
    drive_slew();
    send_command(889);
    if (stopped())
        return false;
    CentreOutcome outcome;
    find_centre(startx, starty, fredptr, cur_rad, &outcome);
    if (outcome != CentreOutcome::Measured)
        return false;
    find_centre(xcent, ycent, fredptr, cur_rad, &outcome);
    return outcome == CentreOutcome::Measured && !stopped();
}

bool run_training(uint16_t* fredptr)
{
    if (telescope == 'n' || !got_zr || !picked_star) {
        messages(53);
        return false;
    }
    comm_check(true);
    if (!comfound) {
        messages(54);
        return false;
    }
    if (telescope == 'b' && fst_run) {
        // The box's relays are exercised once per program run before the first training.
        fst_run = 0;
        for (char letter : {n, s, e, w}) {
            slewdir = letter;
            slew_time = 1;
            drive_slew();
        }
    }
    // The pick recorded full-frame coordinates; a binned image is measured at half of them.
    int startx = xcent, starty = ycent;
    if (pick_star_small) {
        startx /= 2;
        starty /= 2;
    }
    CentreOutcome outcome;
    find_centre(startx, starty, fredptr, cur_rad, &outcome);
    if (outcome == CentreOutcome::Failed)
        return false;
    calc_guideframe();
    guiding = 1;
    training = 1;
    continuous = 0;
    cur_rad = star_mask;

    const int T = slewdefault;
    const int dec_ms = T * 1000 - hysty * 100;
    const int ra_ms = T * 1000 - hystx * 100;
    TrainingPositions p;
    p.y[1] = ycent;
    struct Step { char letter; int ms; int* x; int* y; };
    const Step steps[8] = {
        {n, dec_ms, nullptr, &p.y[2]}, {n, dec_ms, nullptr, &p.y[3]},
        {s, dec_ms, nullptr, &p.y[4]}, {s, dec_ms, &p.x[1], &p.y[5]},
        {e, ra_ms, &p.x[2], nullptr},  {e, ra_ms, &p.x[3], nullptr},
        {w, ra_ms, &p.x[4], nullptr},  {w, ra_ms, &p.x[5], nullptr},
    };
    for (const Step& step : steps) {
        if (!training_step(fredptr, step.letter, step.ms))
            return false;
        if (step.x) *step.x = xcent;
        if (step.y) *step.y = ycent;
    }
    const TrainingResults r = training_results(p, T);
    char text[128];
    std::snprintf(text, sizeof text, "slewx = %5d, slewy = %5d\nbacklashx = %5d, backlashy = %5d", r.slewx, r.slewy,
                  r.backlashx, r.backlashy);
    messages(50, text);
    slewx = clamp_rate(r.slewx);
    slewy = clamp_rate(r.slewy);
    backlashx = clamp_backlash(r.backlashx);
    backlashy = clamp_backlash(r.backlashy);
    if (SaveINIFile(INI_FILE) != 0)
        messages(24);
    return true;
}
}

void do_CmTrainGuide(uint16_t* fredptr)
{
    {
        LongOperation busy;
        WaitCursor wait(*services().desktop);
        run_training(fredptr);
    }
    training = 0;
    guiding = 0;
    tracking = 0;
    if (picked_star) {
        pick_star_small = pick_small;
        xcent = pick_xcent;
        ycent = pick_ycent;
    }
}

void CmTrainGuide()
{
    image.point_at(image_int);
    do_CmTrainGuide(image.fred3);
    picked_star = 0;
    end_loop = 0;
}
