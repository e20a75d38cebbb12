// The camera subsystem's place in the program: its start-up values and its commands.
#pragma once

// Restores the subsystem's variables to their start-up values.
void reset_camera_module();
// Registers the subsystem's commands, enablers and mouse-mode handlers.
void register_camera_module();

// Camera check commands (no menu item; scripts send them): a focus frame and a binned frame.
constexpr int CAMERA_CHECK_FOCUS_FRAME = 9901;
constexpr int CAMERA_CHECK_BINNED_FRAME = 9902;
