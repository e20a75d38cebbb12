// The headless program: the script runner on the virtual clock and the simulated devices.
#pragma once
#include "platform/launch_options.h"

// Runs the script of OPTIONS and prints its transcript on standard output. Returns the process
// exit code: 0, or 2 when the script cannot be read or a line cannot be parsed.
int run_headless(const LaunchOptions& options);
