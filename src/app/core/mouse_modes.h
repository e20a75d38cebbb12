// The parts of the client window's mouse modes that belong to other subsystems: the owning
// module installs its handler when it registers its commands. An empty handler ignores the click.
#pragma once
#include <functional>

struct MouseModeHandlers {
    std::function<void(int y)> row_plot_click;              // row plot: the plotted row
    std::function<void(int x, int y)> merge_click;          // merge mode: base or partner point
    std::function<bool(int x, int y, int r)> find_centre;   // star homing; sets xcent, ycent
    std::function<void(int x, int y)> photometry_click;     // measure at the point
    std::function<void(int x, int y)> photometry_move;      // pointer readout
};

extern MouseModeHandlers mouse_modes;
