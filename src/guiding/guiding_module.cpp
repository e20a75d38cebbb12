#include "guiding_module.h"

#include "app/core/commands.h"
#include "camera/camera_hooks.h"
#include "camera/sequence_state.h"
#include "files/settings_file.h"
#include "guide_training.h"
#include "guiding_loop.h"
#include "processing/merge_images.h"
#include "self_guiding.h"
#include "stacking.h"
#include "store/planes.h"
#include "telescope_dialogs.h"
#include "telescope_protocol.h"

void reset_guiding_module()
{
    reset_telescope_protocol();
    reset_telescope_dialogs();
    reset_guide_training();
    reset_guiding_loop();
}

void register_guiding_module()
{
    register_command(22, CmTrainGuide);
    register_command(23, CmStartGuide);
    register_command(24, CmControl);
    register_command(889, GuideTelescope);
    // The port checks read the settings file first and write the defaults back when it fails.
    telescope_settings_seam() = {[] { return LoadINIFile(INI_FILE) == 0; }, [] { SaveINIFile(INI_FILE); }};
    // What the exposure sequencer asks of guiding: stacking, self-guiding, the control-box check.
    camera_hooks.track_accumulate = [] {
        return track_accumulate(image_int, trial_int, &orig_x, &orig_y, &merge_x, &merge_y, &orig_max, &orig_avg,
                                &stack_first_frame);
    };
    camera_hooks.slew_accumulate = [] {
        return slew_accumulate(image_int, trial_int, &orig_x, &orig_y, &merge_x, &merge_y, &orig_max, &orig_avg,
                               &stack_first_frame);
    };
    camera_hooks.StartSelfGuide = StartSelfGuide;
    camera_hooks.SelfGuide = SelfGuide;
    camera_hooks.SwitchSelfGuide = SwitchSelfGuide;
    camera_hooks.find_control_box = find_control_box;
}
