// The state of the exposure sequence and the options of the camera dialog, with their start-up
// values. The readout's own values (exposure, exp_range, exp_value, download_time, ...) are in
// zr_readout.h.
#pragma once
#include <ctime>
#include <string>

extern int max_exp;                 // largest exp_value of the current range
extern int min_exp;                 // smallest exp_value
extern int total_images;            // the frame count at the start of the sequence
extern int continuous_delay;        // minutes between continuous frames, 0..20
extern int exposure_delay;          // ten-second countdown before the sequence
extern int slew_sum_average;        // stacking averages instead of adding
extern int slew_sum_alt;            // stacking uses the alternative method
extern int focus_wait;              // ask before every focus frame
extern int auto_exposure;           // "Auto Exposure Mode" (offered and shown only)
extern int auto_save_fits;          // autosave every shown frame
extern int darkframe_remove;        // subtract the dark frame from every camera frame
extern int flatfield_remove;        // apply the flat field to every camera frame
extern int stopit;                  // request to end the focus loop
extern int pick_star_save;          // star picking was armed when the command started
extern int last_selfguided;         // the current sequence runs with self-guiding
extern std::string info_caption;    // caption of the guiding information window

// Self-guiding options armed in the camera dialog and the guide-frame bookkeeping.
extern char selfguiding_exp_range;
extern int selfguiding_exp_value;
extern int selfguidinghigh;         // the self-guided exposure is read at full resolution
extern int selfguiding21;           // ... in the fast mode
extern int highres21_selfguide;     // the self-guided full-resolution frame still needs fill_binned
extern int darkframes;              // guide frames of the last self-guided exposure
extern int selfguidingframes;       // guide frames taken in the current self-guided exposure
extern int got_guide_image;         // the guiding information window has a frame to show
extern int first_selfguide;         // the next self-guiding frame is the first
extern int switching;               // the field switch of a self-guided exposure is under way

// Stacking state handed to the stacking routines (the positions orig_x, orig_y, merge_x and
// merge_y are the merging work's, in processing/merge_images.h).
extern int orig_max;
extern double orig_avg;
// The next stacked frame starts the running sum (set whenever the positions above are cleared).
extern int stack_first_frame;

// The current frame was really dark-subtracted / flat-fielded (for its history lines).
extern int darkframe_applied, flatfield_applied;

void reset_sequence_state();
