// The choices the Linux USB backend makes before it touches a device: which camera the command
// line names, which interfaces of the present devices belong to it, and how a block interface is
// named as a device path. Pure functions, so they are tested without hardware.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// "usb:VVVV:PPPP" with the vendor and product identifier in hex; false for anything else.
bool parse_camera_option(const std::string& text, uint16_t& vid, uint16_t& pid);

struct UsbEndpointDesc {
    uint8_t address = 0;     // bit 7 set: IN
    bool bulk = false;
};
struct UsbInterfaceDesc {
    int number = 0;
    int interface_class = 0; // 3 HID, 0xff vendor specific
    std::vector<UsbEndpointDesc> endpoints;
};
struct UsbDeviceDesc {
    int bus = 0, address = 0;
    uint16_t vid = 0, pid = 0;
    std::vector<UsbInterfaceDesc> interfaces;
};

// The device paths of the block interfaces of the camera VID:PID among DEVICES, in the order
// given: vendor-specific interfaces with a bulk IN endpoint. Other devices are never considered.
std::vector<std::string> block_interface_paths(const std::vector<UsbDeviceDesc>& devices, uint16_t vid, uint16_t pid);

struct BlockPath {
    int bus = 0, address = 0, interface_number = 0;
    uint8_t endpoint = 0;
};
// The path of a block interface: "usb:BUS:ADDRESS:INTERFACE:ENDPOINT" (decimal).
std::string format_block_path(const BlockPath& p);
bool parse_block_path(const std::string& text, BlockPath& p);

// Major and minor number of a kernel release such as "6.1.0-18-amd64".
void parse_release(const std::string& release, int& major, int& minor);
