#include "devices.h"

#include "sim/sim_config.h"
#include "sim/sky_motion.h"

bool install_devices(const LaunchOptions& options, Clock& clock, Services& services, DeviceSet& devices,
                     std::string& error)
{
    auto config = std::make_shared<SimConfig>();
    if (!options.sim_config.empty() && !config->load(options.sim_config, error))
        return false;
    devices.owned.push_back(config);
    std::shared_ptr<SkyMotion> sky = make_sky_motion(*config, options, clock);
    devices.owned.push_back(sky);
    install_camera(options, *config, clock, sky, services, devices);
    install_serial(options, *config, clock, sky, services, devices);
    return true;
}
