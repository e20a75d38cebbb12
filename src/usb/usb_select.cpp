#include "usb_select.h"

#include <cstdio>
#include <cstdlib>

namespace {
bool parse_hex16(const std::string& text, uint16_t& out)
{
    if (text.size() != 4)
        return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (*end != 0 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    out = static_cast<uint16_t>(v);
    return true;
}
}

bool parse_camera_option(const std::string& text, uint16_t& vid, uint16_t& pid)
{
    if (text.size() != 13 || text.compare(0, 4, "usb:") != 0 || text[8] != ':')
        return false;
    return parse_hex16(text.substr(4, 4), vid) && parse_hex16(text.substr(9, 4), pid);
}

std::vector<std::string> block_interface_paths(const std::vector<UsbDeviceDesc>& devices, uint16_t vid, uint16_t pid)
{
    std::vector<std::string> paths;
    for (const UsbDeviceDesc& d : devices) {
        if (d.vid != vid || d.pid != pid)
            continue;
        for (const UsbInterfaceDesc& i : d.interfaces) {
            if (i.interface_class != 0xff)
                continue;
            for (const UsbEndpointDesc& e : i.endpoints)
                if (e.bulk && (e.address & 0x80)) {
                    paths.push_back(format_block_path({d.bus, d.address, i.number, e.address}));
                    break;
                }
        }
    }
    return paths;
}

std::string format_block_path(const BlockPath& p)
{
    char text[64];
    std::snprintf(text, sizeof text, "usb:%d:%d:%d:%d", p.bus, p.address, p.interface_number, p.endpoint);
    return text;
}

bool parse_block_path(const std::string& text, BlockPath& p)
{
    int bus, address, number, endpoint, used = 0;
    if (std::sscanf(text.c_str(), "usb:%d:%d:%d:%d%n", &bus, &address, &number, &endpoint, &used) != 4 ||
        used != static_cast<int>(text.size()) || endpoint < 0 || endpoint > 255)
        return false;
    p = {bus, address, number, static_cast<uint8_t>(endpoint)};
    return true;
}

void parse_release(const std::string& release, int& major, int& minor)
{
    major = minor = 0;
    std::sscanf(release.c_str(), "%d.%d", &major, &minor);
}
