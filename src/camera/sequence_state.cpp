#include "sequence_state.h"

int max_exp, min_exp, total_images, continuous_delay, exposure_delay;
int slew_sum_average, slew_sum_alt, focus_wait, auto_exposure, auto_save_fits;
int darkframe_remove, flatfield_remove, stopit;
int pick_star_save, last_selfguided;
std::string info_caption;
char selfguiding_exp_range;
int selfguiding_exp_value, selfguidinghigh, selfguiding21, highres21_selfguide;
int darkframes, selfguidingframes, got_guide_image, first_selfguide, switching;
int orig_max;
double orig_avg;
int stack_first_frame = 1;
int darkframe_applied, flatfield_applied;

void reset_sequence_state()
{
    max_exp = 300;
    min_exp = 1;
    total_images = 0;
    continuous_delay = 0;
    exposure_delay = 0;
    slew_sum_average = slew_sum_alt = 0;
    focus_wait = 0;
    auto_exposure = 0;
    auto_save_fits = 0;
    darkframe_remove = flatfield_remove = 0;
    stopit = 0;
    pick_star_save = last_selfguided = 0;
    info_caption.clear();
    selfguiding_exp_range = 's';
    selfguiding_exp_value = 0;
    selfguidinghigh = selfguiding21 = highres21_selfguide = 0;
    darkframes = selfguidingframes = got_guide_image = 0;
    first_selfguide = 1;
    switching = 0;
    orig_max = 0;
    orig_avg = 0.0;
    stack_first_frame = 1;
    darkframe_applied = flatfield_applied = 0;
}
