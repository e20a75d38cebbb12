// The program-wide flags that more than one subsystem reads or writes, each with its start-up
// value. Listed once here; flags.cpp defines them and reset_store_flags() restores the values.
#pragma once
#include <cstdint>
#include <string>

// name, start-up value
#define SKYVANE_STORE_INT_FLAGS(X) \
    /* readout flags: exactly one describes how the image was read */ \
    X(binned, 1) X(binned21, 0) X(highres_intl, 0) X(highres_nonintl, 0) \
    /* display state */ \
    X(Geo, 0) X(Big, 0) X(colour_palette, 0) X(stretch_palette, 0) X(max_stretch, 0) \
    X(focus_stretch, 12) X(focus_stretch_only, 0) X(prep_image, 0) X(blink_it, 0) \
    X(focussed, 0) X(back_r, 192) X(back_g, 192) X(back_b, 192) X(back_changed, 0) \
    /* activity and interaction state */ \
    X(focus_mode, 0) X(tracking, 0) X(training, 0) X(guiding, 0) X(selfguiding, 0) \
    X(continuous, 0) X(cont_work, 0) X(end_loop, 0) X(no_images, 1) X(pick_star, 0) \
    X(picked_star, 0) X(pick_xcent, 0) X(pick_ycent, 0) X(focus_frame, 0) X(centre_it, 0) \
    X(cur_rad, 4) X(star_mask, 8) X(photometry, 0) X(merging, 0) X(row_plot, 0) \
    X(blinking, 0) X(intensity_plot, 0) X(hist_already, 0) \
    /* shared with the stop poll: focus frame origin and the self-guiding field switch */ \
    X(focus_x, 312) X(focus_y, 65) X(selfguiding_darkframe, 0) X(switch_frame, 0) \
    /* the last star centroid, whole pixels and tenths, and where a pick was made */ \
    X(xcent, 0) X(ycent, 0) X(xcentdec, 0) X(ycentdec, 0) X(pick_small, 0) X(pick_star_small, 0) \
    /* loaded calibration and comparison images */ \
    X(darkframe_loaded, 0) X(flatfield_loaded, 0) X(comparison_loaded, 0)

#define SKYVANE_DECLARE_FLAG(name, value) extern int name;
SKYVANE_STORE_INT_FLAGS(SKYVANE_DECLARE_FLAG)
#undef SKYVANE_DECLARE_FLAG

// The timed wait the stop poll ends: a wait runs while ticks < endticks.
extern int64_t ticks;
extern int64_t endticks;

extern std::string DarkFileName;        // stored formats cut these to 50 bytes
extern std::string FlatFileName;
extern std::string ComparisonFileName;
extern std::string image_name;          // caption name after the next refresh (20 bytes stored)

// Restores every flag above to its start-up value.
void reset_store_flags();
