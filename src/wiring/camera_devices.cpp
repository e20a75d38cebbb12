#include "devices.h"

#include <cstdio>

#include "platform/services.h"
#include "sim/sim_camera.h"
#include "usb/linux_usb_link.h"
#include "usb/usb_select.h"

// Installs the camera link: the simulated camera, or a real camera on USB ("usb:VVVV:PPPP").
void install_camera(const LaunchOptions& options, const SimConfig& config, Clock& clock,
                    std::shared_ptr<SkyMotion> sky, Services& services, DeviceSet& devices)
{
    std::shared_ptr<UsbLink> link;
    uint16_t vid = 0, pid = 0;
    if (options.camera.empty() || options.camera == "sim") {
        link = std::make_shared<SimCamera>(config, clock, std::move(sky), options.seed);
    } else if (parse_camera_option(options.camera, vid, pid)) {
        link = std::make_shared<LinuxUsbLink>(vid, pid);
    } else {
        // No link: the camera command reports that it cannot list the USB interfaces.
        std::fprintf(stderr, "skyvane: --camera %s: expected sim or usb:VVVV:PPPP (hex)\n", options.camera.c_str());
    }
    services.usb = link.get();
    if (link)
        devices.owned.push_back(link);
}
