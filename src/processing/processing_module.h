// The processing subsystem's place in the program: its start-up values and its commands.
#pragma once

// Restores the subsystem's variables to their start-up values.
void reset_processing_module();
// Registers the subsystem's commands, enablers and mouse-mode handlers.
void register_processing_module();
