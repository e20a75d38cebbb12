#include "devices.h"

// Installs the camera link: the simulated camera, or a real camera on USB.
void install_camera(const LaunchOptions&, const SimConfig&, Clock&, std::shared_ptr<SkyMotion>, Services&, DeviceSet&)
{
}
