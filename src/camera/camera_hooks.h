// What the camera work asks of the guiding work, which comes later in the program's layering:
// the control-box check of the self-guiding options, the stacking of multiple exposures and the
// self-guiding steps. The guiding module installs them when it registers; while a hook is empty
// the feature it serves is unavailable (the control box counts as absent, stacking keeps the
// last frame, self-guiding cannot start).
#pragma once
#include <functional>

struct CameraHooks {
    // Looks for the second-generation control box (sets gotcontrolbox when found).
    std::function<void()> find_control_box;
    // Stacks image_int onto the running sum in trial_int: 0 done, 1 guide star lost, 2 none found.
    std::function<int()> track_accumulate;
    std::function<int()> slew_accumulate;
    // Self-guiding: prepare (non-zero: cannot run), one correction, switch the guide field.
    std::function<int()> StartSelfGuide;
    std::function<void()> SelfGuide;
    std::function<void()> SwitchSelfGuide;
};

extern CameraHooks camera_hooks;
