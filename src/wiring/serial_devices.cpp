#include "devices.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/posix/posix_serial_library.h"
#include "platform/services.h"
#include "sim/mount_model.h"
#include "sim/serial_sim.h"
#include "sim/sim_config.h"
#include "sim/sky_motion.h"

// The simulated mount owns the sky's motion: drift, periodic error, guide pulses, slews, the
// focuser and the clouds all come from the one model the camera renders.
std::shared_ptr<SkyMotion> make_sky_motion(const SimConfig& config, const LaunchOptions& options, Clock& clock)
{
    auto mount = std::make_shared<MountModel>(mount_params(config), clock);
    if (!options.sim_log.empty() && !mount->start_log(options.sim_log))
        std::fprintf(stderr, "skyvane: cannot write the simulator log %s\n", options.sim_log.c_str());
    return mount;
}

// Installs the serial library: COM1 and COM2 on the device paths of --com1/--com2, or on a
// pseudo-terminal with the simulated mount and control box on its far end.
void install_serial(const LaunchOptions& options, const SimConfig& config, Clock& clock,
                    std::shared_ptr<SkyMotion> sky, Services& services, DeviceSet& devices)
{
    auto mount = std::dynamic_pointer_cast<MountModel>(sky);
    if (!mount) {
        mount = std::make_shared<MountModel>(mount_params(config), clock);
        devices.owned.push_back(mount);
    }
    auto library = std::make_shared<PosixSerialLibrary>();
    const std::string* paths[2] = {&options.com1, &options.com2};
    for (int port = 0; port < 2; ++port) {
        if (!paths[port]->empty()) {
            library->map_port(port, *paths[port]);
        } else {
            auto device = std::make_shared<SimulatedPort>(mount, clock);
            devices.owned.push_back(device);
            library->map_port(port, device);
        }
    }
    devices.owned.push_back(library);
    services.serial = library.get();
}
