#include "devices.h"

// The camera link is installed here once the USB link exists.
void install_camera(const LaunchOptions&, Clock&, Services&, DeviceSet&)
{
}
