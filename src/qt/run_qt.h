// The program in its real Qt window.
#pragma once
#include "platform/launch_options.h"

// Builds the Qt services, starts the program and runs the event loop; with a script in OPTIONS
// the script drives the real window. Returns the process exit code.
int run_qt(int argc, char** argv, const LaunchOptions& options);
