#include "devices.h"

#include "sim/sky_motion.h"

std::shared_ptr<SkyMotion> make_sky_motion(const SimConfig&, const LaunchOptions&, Clock&)
{
    return std::make_shared<StillSky>();
}

// Installs the serial library: real ports, or the simulated mount and control box.
void install_serial(const LaunchOptions&, const SimConfig&, Clock&, std::shared_ptr<SkyMotion>, Services&, DeviceSet&)
{
}
