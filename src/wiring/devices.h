// The devices the program talks to, chosen from the command line: the simulated camera or a real
// USB camera, the built-in simulated mount and control box or real serial ports. Both backends
// call install_devices after the clock exists and before the program starts.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/launch_options.h"

class Clock;
class SimConfig;
class SkyMotion;
struct Services;

// Keeps the installed devices alive for the life of the program.
struct DeviceSet {
    std::vector<std::shared_ptr<void>> owned;
};

// Reads --sim-config (when given), makes the sky's motion, and installs the camera link and the
// serial library. False with a message in ERROR when the options cannot be used.
bool install_devices(const LaunchOptions& options, Clock& clock, Services& services, DeviceSet& devices,
                     std::string& error);

// The parts, each in its own file: the mount's motion of the sky (serial_devices.cpp, beside the
// simulated mount that moves it), the camera link and the serial library.
std::shared_ptr<SkyMotion> make_sky_motion(const SimConfig& config, const LaunchOptions& options, Clock& clock);
void install_camera(const LaunchOptions& options, const SimConfig& config, Clock& clock,
                    std::shared_ptr<SkyMotion> sky, Services& services, DeviceSet& devices);
void install_serial(const LaunchOptions& options, const SimConfig& config, Clock& clock,
                    std::shared_ptr<SkyMotion> sky, Services& services, DeviceSet& devices);
