// The devices the program talks to, chosen from the command line: the simulated camera or a real
// USB camera, the built-in simulated mount and control box or real serial ports. Both backends
// call install_devices after the clock exists and before the program starts.
#pragma once
#include <memory>
#include <vector>

#include "platform/launch_options.h"

class Clock;
struct Services;

// Keeps the installed devices alive for the life of the program.
struct DeviceSet {
    std::vector<std::shared_ptr<void>> owned;
};

void install_devices(const LaunchOptions& options, Clock& clock, Services& services, DeviceSet& devices);

// The two halves, each in its own file.
void install_camera(const LaunchOptions& options, Clock& clock, Services& services, DeviceSet& devices);
void install_serial(const LaunchOptions& options, Clock& clock, Services& services, DeviceSet& devices);
