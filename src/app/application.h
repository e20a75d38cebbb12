// TSkyvaneApp: start-up and shutdown of the program on the services in use.
#pragma once

// Builds the program's state as start-up does: every module's variables at their start-up
// values, commands registered, settings loaded, the frame decorated, the planes filled with the
// test image and the grey palette built. Services must be set first.
void start_program();
// Whether the telescope button belongs on the control bar now.
bool telescope_button_wanted();
