#include "devices.h"

void install_devices(const LaunchOptions& options, Clock& clock, Services& services, DeviceSet& devices)
{
    install_camera(options, clock, services, devices);
    install_serial(options, clock, services, devices);
}
