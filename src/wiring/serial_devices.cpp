#include "devices.h"

// The serial library is installed here once it exists.
void install_serial(const LaunchOptions&, Clock&, Services&, DeviceSet&)
{
}
