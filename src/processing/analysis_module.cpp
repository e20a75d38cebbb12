#include "analysis_module.h"

#include "analysis_views.h"
#include "app/core/mouse_modes.h"
#include "image_label.h"
#include "merge_images.h"
#include "photometry.h"
#include "pick_star.h"
#include "star_centroid.h"

void reset_analysis_module()
{
    reset_star_centroid();
    reset_merge_images();
    reset_photometry();
    reset_analysis_views();
    reset_image_label();
    collect_closed_windows();
}

void register_analysis_commands()
{
    register_pick_star();
    register_merge_images();
    register_photometry();
    register_analysis_views();
    register_image_label();
    mouse_modes.find_centre = home_click_on_star;
}
