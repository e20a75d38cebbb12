#include "sequencer.h"

#include <memory>
#include <string>

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "app/core/stop_poll.h"
#include "calibration.h"
#include "processing/star_centroid.h"
#include "camera_dialog.h"
#include "camera_hooks.h"
#include "display/window_display.h"
#include "files/autosave.h"
#include "files/fits_file.h"
#include "files/settings_file.h"
#include "files/settings_values.h"
#include "info_dialog.h"
#include "one_sec_delay.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/main_frame.h"
#include "platform/services.h"
#include "processing/merge_images.h"
#include "processing/progress_dialog.h"
#include "sequence_state.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"
#include "usb_hid.h"
#include "zr_readout.h"

namespace {

// What one run of the command keeps besides the program-wide variables.
struct Sequence {
    bool stack = false;            // no_images was above 1 when the sequence was set up
    int steps = 2;                 // progress steps of a long-range exposure
    bool shown = false;            // the frame was shown in the continuous window
    std::unique_ptr<TProgressDialog> progress_window;
    std::unique_ptr<TInfoDialog> info_window;
    CursorShape saved_cursor = CursorShape::Arrow;
};

Clock& clock() { return *services().clock; }
int64_t now() { return ticks = clock().ticks(); }

bool short_range() { return exp_range == 'q' || exp_range == 'h' || exp_range == 't'; }

int range_factor(char range)
{
    switch (range) {
    case 'q': return 1;
    case 'h': return 10;
    case 't': return 100;
    case 's': return 1000;
    default: return 60000;
    }
}

std::string count_suffix()
{
    return no_images > 1 ? " (Left - " + std::to_string(no_images) + ")" : std::string();
}

void update_progress(Sequence& seq, const std::string& caption)
{
    progress_caption = caption;
    changecaption = 1;
    if (seq.progress_window && seq.progress_window->is_open())
        seq.progress_window->ProgressUpdate();
}

void show_progress_window(Sequence& seq)
{
    if (seq.progress_window && !seq.progress_window->is_open())
        seq.progress_window->Create();
}

void close_windows(Sequence& seq)
{
    seq.progress_window.reset();
    seq.info_window.reset();
}

void restore_picked_star()
{
    pick_star_small = pick_small;
    xcent = pick_xcent;
    ycent = pick_ycent;
}

void rearm(Sequence&)
{
    if (last_selfguided) {
        got_guide_image = 0;
        first_selfguide = 1;
        selfguidingframes = 0;
        selfguiding = 1;
        switched_frame = 0;
        interlaced_line = 0;
        switching = 0;
    }
    if (pick_star_save)
        pick_star = 1;
    if (picked_star)
        restore_picked_star();
}

// A. Clears the sequence flags and finds the camera on first use; false when there is none.
bool start_command()
{
    cont_work = end_loop = switched_frame = interlaced_line = switching = 0;
    pick_star_save = pick_star ? 1 : 0;
    pick_star = 0;
    if (DarkFileName.empty())
        DarkFileName = "c:\\dark.def";
    if (FlatFileName.empty())
        FlatFileName = "c:\\flat.def";
    image.point_at(image_int);
    darkframe_loaded = flatfield_loaded = last_selfguided = 0;
    if (!got_zr) {
        if (LoadINIFile(INI_FILE) != 0)
            messages(1);
        usb_hid().CollectingUSBHidInfo();
        ZR_reader();
        if (!got_zr) {
            messages(50, "Sorry, No camera found on USB");
            return false;
        }
    }
    orig_x = orig_y = merge_x = merge_y = 0;
    orig_avg = 0.0;
    stack_first_frame = 1;
    no_images = 1;
    return true;
}

// B. The camera dialog; true when the user pressed "Take Photo".
bool run_dialog()
{
    TZRDialog dialog;
    const int result = dialog.Execute();
    if (result != IDOK) {
        if (focus_mode) {
            WaitCursor wait(*services().desktop);
            image_prepare();
            focus_mode = 0;
        }
        if (pick_star_save)
            pick_star = 1;
        return false;
    }
    QV_binned();
    stopit = 1;
    focus_mode = 0;
    image.point_at(image_int);
    FITS_Pixwidth = binned ? 0.0232 : 0.0116;
    FITS_Pixheight = binned ? 0.0224 : 0.0112;
    return true;
}

// C5. The ten-second countdown.
void countdown()
{
    progress = 0;
    Sequence seq;
    progress_caption = "EXPOSURE DELAY";
    seq.progress_window = std::make_unique<TProgressDialog>();
    seq.progress_window->Create();
    for (int left = 10; left >= 1; --left) {
        update_progress(seq, "EXPOSURE DELAY (Left - " + std::to_string(left) + ")");
        one_sec_delay(1);
        progress += 25;
        seq.progress_window->ProgressUpdate();
        services().desktop->beep();
    }
}

// C. Exposure, self-guiding exposure, the progressive fallback, the countdown.
void set_up(Sequence& seq)
{
    exposure = exp_value * range_factor(exp_range);
    const int guide_factor = selfguiding_exp_range == 'h' ? 10 : selfguiding_exp_range == 'q' ? 1
                           : selfguiding_exp_range == 't' ? 100 : 1000;
    selfguiding_exposure = selfguiding_darkframe ? 100 : selfguiding_exp_value * guide_factor;
    // The odd field of the progressive mode is restarted after one field transfer; when the
    // exposure cannot cover that, the frame is taken in the two-exposure mode instead.
    if (highres_intl && (exposure < download_time || short_range() || exposure < download_time * 1.02)) {
        highres_intl = 0;
        highres_nonintl = 1;
    }
    FITS_Exptime = 0;
    seq.saved_cursor = services().desktop->cursor();
    services().desktop->set_cursor(CursorShape::Wait);
    image_name = "QV Camera Image";
    seq.stack = no_images > 1;
    if (exposure_delay)
        countdown();
    total_images = no_images;
    cont_work = continuous;
}

int progress_steps()
{
    if (exp_range == 's' && exp_value >= 5 && exp_value <= 12)
        return 6;
    if ((exp_range == 's' && exp_value > 12) || exp_range == 'm')
        return 20;
    return 2;
}

// One step of the progress bar of an exposure once its time has come.
void advance_progress(Sequence& seq, int64_t& next_progress)
{
    if (ticks <= next_progress)
        return;
    next_progress += exposure / seq.steps;
    progress += 256 / seq.steps;
    seq.progress_window->ProgressUpdate();
}

// D5. Self-guiding preparation; false when it cannot run (the command then ends at once).
bool start_self_guiding(Sequence& seq)
{
    got_guide_image = 0;
    first_selfguide = 1;
    selfguidingframes = 0;
    seq.info_window = std::make_unique<TInfoDialog>();
    seq.info_window->Create();
    if (!selfguiding_darkframe) {
        info_caption = "Guiding Info - Checking Telescope";
        seq.info_window->InfoCaption();
        const int result = camera_hooks.StartSelfGuide ? camera_hooks.StartSelfGuide() : 1;
        if (result != 0) {
            close_windows(seq);
            selfguiding = 0;
            return false;
        }
        last_selfguided = 1;
    } else {
        info_caption = "Guiding Info - Darkframe in Progress";
        seq.info_window->InfoCaption();
    }
    ZR_wiper();
    ZR_clearvert();
    return true;
}

// D6. A short-range exposure of 500 ms or more, timed by the host without pumping.
void short_exposure()
{
    if (exposure < 500)
        return;
    endticks = now() + exposure;
    while (now() < endticks) {
        if (exposure > 600)
            ZR_clearvert();
        wait_pass();
    }
}

// D7.5 field switch of a self-guided full-resolution exposure at half time.
void switch_guide_field(Sequence& seq, int64_t& next_progress)
{
    switching = 1;
    switched_frame = 1;
    ZR_clearvert();
    ZR_reader3();
    info_caption = "Guiding Info - Downloading Image";
    if (seq.info_window) seq.info_window->InfoCaption();
    tracking = 0;
    interlaced_line = 0;
    ZR_first_read();
    backup_image(image.fred3, trial.fred3);
    ZR_wiper();
    tracking = 1;
    if (camera_hooks.SwitchSelfGuide) camera_hooks.SwitchSelfGuide();
    clear_messages(1);
    progress = 128;
    endticks = now() + exposure / 2;
    next_progress = ticks + exposure / seq.steps;
    if (selfguiding_darkframe)
        selfguidingframes = 0;
    switching = 0;
}

// D7. A long-range exposure with its progress window; false when self-guiding ended during it.
bool long_exposure(Sequence& seq)
{
    show_progress_window(seq);
    const int64_t t0 = now();
    endticks = t0 + exposure;
    int64_t next_progress = t0 + exposure / seq.steps;
    const int64_t half_time = t0 + exposure / 2;
    const int64_t restart_time = t0 + download_time + download_time / 50;
    bool restarted = false;
    while (ticks < endticks) {
        if (highres_intl && !restarted && ticks > restart_time && !selfguiding) {
            services().desktop->beep();
            ZR_reader2();
            ZR_clearvert();
            restarted = true;
        }
        if (exposure > 3000)
            ZR_clearvert();
        advance_progress(seq, next_progress);
        clear_messages(1);
        if (selfguiding) {
            if (switch_frame && ticks >= half_time && !switched_frame)
                switch_guide_field(seq, next_progress);
            if (!selfguiding_darkframe || selfguidingframes < darkframes / 2)
                if (camera_hooks.SelfGuide) camera_hooks.SelfGuide();
            if (!selfguiding) {
                endticks = 0;
                close_windows(seq);
                end_loop = 1;
                messages(57);
                return false;
            }
            ++selfguidingframes;
        }
        wait_pass();
        now();
    }
    if (selfguiding_darkframe)
        selfguidingframes = darkframes;
    return true;
}

// The odd field of a full-resolution frame, then the field equalisation when it is on.
void read_odd_field()
{
    progress = 0;
    interlaced_line = 1;
    ZR_first_read();
    interlaced_line = 0;
    if (apply_correction)
        correct_variation(image.fred3);
}

// D8.6 the second exposure of the two-exposure mode, and the read of its field.
void second_exposure(Sequence& seq)
{
    ZR_wiper();
    ZR_clearvert();
    if (short_range()) {
        ZR_clearvert();
        if (exposure >= 500) {
            endticks = now() + exposure;
            while (now() < endticks && !end_loop) {
                clear_messages(1);
                wait_pass();
            }
        }
    } else {
        ZR_clearvert();
        progress = 0;
        int64_t next_progress = now() + exposure / seq.steps;
        update_progress(seq, "SECOND EXPOSURE");
        if (exposure >= 500) {
            endticks = ticks + exposure;
            while (now() < endticks && !end_loop) {
                if (exposure > 3000)
                    ZR_clearvert();
                advance_progress(seq, next_progress);
                clear_messages(1);
                wait_pass();
            }
        }
    }
    if (exposure > 99)
        ZR_clearvert();
    if (end_loop)
        return;
    update_progress(seq, "READ QV CAMERA - Interlaced(2nd Exposure)");
    ZR_reader3();
    ZR_reader2();
    read_odd_field();
}

// D8. The readout in the chosen mode.
void read_frame(Sequence& seq)
{
    update_progress(seq, "READ QV CAMERA" + (no_images > 1 ? count_suffix()
                                            : std::string(binned ? " - takes 1 - 2 seconds" : " - takes 3 - 4 seconds")));
    if (selfguiding) {
        if (switch_frame) ZR_reader2();
        else ZR_reader3();
        tracking = 0;
        selfguiding = 0;
        if (selfguidinghigh) {
            binned = 0;
            highres21_selfguide = selfguiding21;
        } else {
            highres21_selfguide = 0;
        }
        seq.info_window.reset();
        if (services().frame) services().frame->invalidate();
        selfguiding_darkframe = 0;
    } else if (highres_intl) {
        ZR_reader3();
    } else {
        ZR_reader();
    }
    if (short_range())
        show_progress_window(seq);
    progress = 0;
    if (binned) {
        ZR_binned_read();
    } else {
        interlaced_line = switch_frame && selfguidinghigh ? 1 : 0;
        ZR_first_read();
        interlaced_line = 0;
    }
    if (highres_intl && !highres21_selfguide && !switch_frame) {
        update_progress(seq, "READ QV CAMERA - Interlaced");
        ZR_reader2();
        read_odd_field();
    }
    if (highres_nonintl && !highres21_selfguide && !selfguidinghigh)
        second_exposure(seq);
    if (switch_frame && selfguidinghigh && switched_frame) {
        switch_frame = 0;
        do_add_image(image.fred3, trial.fred3, 0);
        if (apply_correction)
            correct_variation(image.fred3);
    }
    selfguiding = 0;
    if (binned21 || highres21_selfguide) {
        fill_binned(image.fred3);
        highres21_selfguide = 0;
    }
    clear_messages(0);
}

// D9. Automatic dark subtraction and flat field.
void calibrate()
{
    darkframe_applied = flatfield_applied = 0;
    if (darkframe_remove) {
        const int r = auto_remove(darkframe_loaded, DarkFileName, image.fred3, undo.fred3);
        if (r == 11) messages(3);
        else if (r == 12) messages(4);
        else darkframe_loaded = darkframe_applied = 1;
    }
    if (flatfield_remove) {
        const int r = auto_flatfield(flatfield_loaded, FlatFileName, image.fred3, save.fred3);
        if (r == 11) messages(5);
        else if (r == 12) messages(6);
        else flatfield_loaded = flatfield_applied = 1;
    }
}

// D10. Stacking onto the running result.
void stack_frame(const Sequence& seq)
{
    if (!seq.stack || continuous || last_selfguided)
        return;
    const auto& accumulate = slew_sum_alt ? camera_hooks.slew_accumulate : camera_hooks.track_accumulate;
    const int r = accumulate ? accumulate() : 0;
    if (r == 1) {
        no_images = 1;
        messages(33);
    } else if (r == 2) {
        no_images = 1;
        messages(34);
    }
}

// One frame, D1 to D10; false when the command must end at once (self-guiding failed).
bool take_frame(Sequence& seq)
{
    if (continuous)
        FITS_Exptime = exposure / 1000.0;
    else
        FITS_Exptime += exposure / 1000.0;
    progress_caption = "EXPOSURE UNDERWAY" + count_suffix();
    seq.progress_window = std::make_unique<TProgressDialog>();
    progress = 0;
    seq.steps = progress_steps();
    clear_messages(1);
    ZR_clearvert();
    ZR_wiper();
    if (selfguiding && !start_self_guiding(seq))
        return false;
    if (!end_loop) {
        if (short_range()) {
            short_exposure();
        } else if (!long_exposure(seq)) {
            return false;
        }
    }
    if (exposure > 199)
        ZR_clearvert();
    if (end_loop)
        return true;
    read_frame(seq);
    calibrate();
    stack_frame(seq);
    return true;
}

void show_frame(Sequence& seq)
{
    services().desktop->set_cursor(seq.saved_cursor);
    CmShowImage();
}

// E3. The continuous run's one-second window and its pause.
void continuous_window(Sequence& seq)
{
    show_frame(seq);
    seq.shown = true;
    if (one_sec_delay(1)) {
        no_images = 0;
        cont_work = 0;
    }
    if (continuous_delay > 0 && cont_work) {
        progress_caption = "Pause between exposures";
        progress = 0;
        TProgressDialog pause_window;
        pause_window.Create();
        const int64_t pause = static_cast<int64_t>(continuous_delay) * 60000;
        const int64_t start = now();
        endticks = start + pause;
        int64_t next_step = start + pause / 16;
        while (now() < endticks) {
            if (ticks >= next_step) {
                next_step += pause / 16;
                progress += 16;
                pause_window.ProgressUpdate();
            }
            clear_messages(0);
            wait_pass();
        }
    }
}

// E. After the frame; returns where the sequence goes on.
enum class Next { Frame, ContinuousFrame, End };

Next after_frame(Sequence& seq)
{
    seq.progress_window.reset();
    --no_images;
    focus_stretch_only = 0;
    seq.shown = false;
    if (seq.stack && cont_work && no_images <= 0)
        cont_work = 0;
    if (cont_work)
        continuous_window(seq);
    if (no_images > 0) {
        if (!seq.shown)
            show_frame(seq);
        rearm(seq);
        return Next::Frame;
    }
    if (!end_loop && !seq.shown)
        show_frame(seq);
    if (continuous)
        rearm(seq);
    return cont_work ? Next::ContinuousFrame : Next::End;
}

// F. The end of the command.
void end_command(Sequence& seq)
{
    close_windows(seq);
    services().desktop->set_cursor(seq.saved_cursor);
    if (pick_star_save)
        pick_star = 1;
    if (picked_star)
        restore_picked_star();
    else
        picked_star = 0;
    orig_x = orig_y = merge_x = merge_y = 0;
    orig_avg = 0.0;
    stack_first_frame = 1;
    guide_ref::x1 = xcent = old_xcent;
    guide_ref::y1 = ycent = old_ycent;
    first_selfguide = 1;
    switched_frame = 0;
    selfguidinghigh = 0;
    interlaced_line = 0;
}

void run_sequence()
{
    LongOperation busy;
    Sequence seq;
    set_up(seq);
    Next next = Next::ContinuousFrame;
    while (next != Next::End) {
        if (next == Next::ContinuousFrame)
            start_exp = calendar_now();
        if (!take_frame(seq)) {
            // Self-guiding ended during the exposure (the command ends as usual), or could not
            // start: then the command ends at once, but still restores what it changed.
            if (end_loop) {
                end_command(seq);
            } else {
                close_windows(seq);
                services().desktop->set_cursor(seq.saved_cursor);
                if (pick_star_save)
                    pick_star = 1;
            }
            return;
        }
        next = after_frame(seq);
    }
    end_command(seq);
}
}

void ZR_Control()
{
    if (!start_command())
        return;
    if (!run_dialog())
        return;
    run_sequence();
}

void CmFocusFrame()
{
    focus_frame = 1;
    centre_it = 0;
    services().desktop->set_cursor(CursorShape::Arrow);
}

void CmFocusFrameReset()
{
    focus_x = 312;
    focus_y = 65;
}

void CmShowImage()
{
    end_exp = calendar_now();
    history_clear();
    if (darkframe_remove && darkframe_applied)
        history_append("Dark Frame Subtracted");
    if (flatfield_remove && flatfield_applied)
        history_append("Flatfield Applied");
    image_prepare();
    if (auto_save_fits)
        CmSaveAsFits();
}
