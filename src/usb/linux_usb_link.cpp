#include "linux_usb_link.h"

#include <hidapi.h>
#include <libusb.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "usb/usb_select.h"

namespace {
constexpr int ERROR_FILE_NOT_FOUND = 2, ERROR_INVALID_HANDLE = 6, ERROR_GEN_FAILURE = 31;
constexpr int REPORT_TIMEOUT_MS = 1000;

std::u16string widen(const wchar_t* text)
{
    std::u16string out;
    for (; text && *text; ++text)
        out.push_back(static_cast<char16_t>(*text & 0xffff));
    return out;
}

std::u16string widen(const unsigned char* text, int length)
{
    std::u16string out;
    for (int i = 0; i < length; ++i)
        out.push_back(text[i]);
    return out;
}
}

struct LinuxUsbLink::Open {
    hid_device* hid = nullptr;
    libusb_device_handle* block = nullptr;
    BlockPath path;
    uint16_t vid = 0, pid = 0;
    uint8_t manufacturer_index = 0, product_index = 0;
};

LinuxUsbLink::LinuxUsbLink(uint16_t vid, uint16_t pid) : vid_(vid), pid_(pid)
{
    hid_ready_ = hid_init() == 0;
    if (libusb_init(&usb_) != 0)
        usb_ = nullptr;
}

LinuxUsbLink::~LinuxUsbLink()
{
    while (!open_.empty())
        close(open_.begin()->first);
    if (usb_)
        libusb_exit(usb_);
    if (hid_ready_)
        hid_exit();
}

LinuxUsbLink::Open* LinuxUsbLink::find(UsbHandle h)
{
    auto it = open_.find(h);
    if (it == open_.end()) {
        error_ = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    return it->second.get();
}

bool LinuxUsbLink::list(UsbClass cls, std::vector<UsbInterfaceEntry>& out)
{
    out.clear();
    if (cls == UsbClass::Hid) {
        if (!hid_ready_)
            return false;
        hid_device_info* all = hid_enumerate(vid_, pid_);
        for (hid_device_info* d = all; d; d = d->next)
            if (d->vendor_id == vid_ && d->product_id == pid_)
                out.push_back({d->path ? d->path : "", d->path != nullptr});
        hid_free_enumeration(all);
        return true;
    }
    if (!usb_)
        return false;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(usb_, &list);
    if (count < 0)
        return false;
    std::vector<UsbDeviceDesc> devices;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor dd;
        if (libusb_get_device_descriptor(list[i], &dd) != 0 || dd.idVendor != vid_ || dd.idProduct != pid_)
            continue;
        UsbDeviceDesc desc;
        desc.bus = libusb_get_bus_number(list[i]);
        desc.address = libusb_get_device_address(list[i]);
        desc.vid = dd.idVendor;
        desc.pid = dd.idProduct;
        libusb_config_descriptor* config = nullptr;
        if (libusb_get_active_config_descriptor(list[i], &config) == 0) {
            for (int n = 0; n < config->bNumInterfaces; ++n) {
                if (config->interface[n].num_altsetting < 1)
                    continue;
                const libusb_interface_descriptor& alt = config->interface[n].altsetting[0];
                UsbInterfaceDesc idesc;
                idesc.number = alt.bInterfaceNumber;
                idesc.interface_class = alt.bInterfaceClass;
                for (int e = 0; e < alt.bNumEndpoints; ++e)
                    idesc.endpoints.push_back({alt.endpoint[e].bEndpointAddress,
                                               (alt.endpoint[e].bmAttributes & 3) == LIBUSB_TRANSFER_TYPE_BULK});
                desc.interfaces.push_back(idesc);
            }
            libusb_free_config_descriptor(config);
        }
        devices.push_back(desc);
    }
    libusb_free_device_list(list, 1);
    for (const std::string& path : block_interface_paths(devices, vid_, pid_))
        out.push_back({path, true});
    return true;
}

UsbHandle LinuxUsbLink::open(const std::string& path)
{
    auto entry = std::make_unique<Open>();
    BlockPath block;
    if (parse_block_path(path, block)) {
        if (!usb_) {
            error_ = ERROR_GEN_FAILURE;
            return 0;
        }
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(usb_, &list);
        libusb_device* device = nullptr;
        for (ssize_t i = 0; i < count; ++i)
            if (libusb_get_bus_number(list[i]) == block.bus && libusb_get_device_address(list[i]) == block.address)
                device = list[i];
        int rc = LIBUSB_ERROR_NOT_FOUND;
        if (device) {
            libusb_device_descriptor dd;
            if (libusb_get_device_descriptor(device, &dd) == 0) {
                entry->vid = dd.idVendor;
                entry->pid = dd.idProduct;
                entry->manufacturer_index = dd.iManufacturer;
                entry->product_index = dd.iProduct;
            }
            rc = libusb_open(device, &entry->block);
        }
        if (count >= 0)
            libusb_free_device_list(list, 1);
        if (rc != 0) {
            error_ = rc == LIBUSB_ERROR_NOT_FOUND ? ERROR_FILE_NOT_FOUND : -rc;
            return 0;
        }
        libusb_set_auto_detach_kernel_driver(entry->block, 1);
        rc = libusb_claim_interface(entry->block, block.interface_number);
        if (rc != 0) {
            libusb_close(entry->block);
            error_ = -rc;
            return 0;
        }
        entry->path = block;
    } else {
        if (!hid_ready_) {
            error_ = ERROR_GEN_FAILURE;
            return 0;
        }
        entry->hid = hid_open_path(path.c_str());
        if (!entry->hid) {
            error_ = errno ? errno : ERROR_FILE_NOT_FOUND;
            return 0;
        }
        if (hid_device_info* info = hid_get_device_info(entry->hid)) {
            entry->vid = info->vendor_id;
            entry->pid = info->product_id;
        }
    }
    const UsbHandle h = next_++;
    open_[h] = std::move(entry);
    return h;
}

void LinuxUsbLink::close(UsbHandle h)
{
    Open* o = find(h);
    if (!o)
        return;
    if (o->hid)
        hid_close(o->hid);
    if (o->block) {
        libusb_release_interface(o->block, o->path.interface_number);
        libusb_close(o->block);
    }
    open_.erase(h);
}

bool LinuxUsbLink::attributes(UsbHandle h, uint16_t& vid, uint16_t& pid)
{
    Open* o = find(h);
    if (!o)
        return false;
    vid = o->vid;
    pid = o->pid;
    return true;
}

bool LinuxUsbLink::manufacturer(UsbHandle h, std::u16string& text)
{
    Open* o = find(h);
    if (!o)
        return false;
    if (o->hid) {
        wchar_t buffer[256] = {};
        if (hid_get_manufacturer_string(o->hid, buffer, 255) != 0)
            return false;
        text = widen(buffer);
        return true;
    }
    unsigned char buffer[256] = {};
    const int n = o->manufacturer_index
                      ? libusb_get_string_descriptor_ascii(o->block, o->manufacturer_index, buffer, sizeof buffer)
                      : -1;
    if (n < 0)
        return false;
    text = widen(buffer, n);
    return true;
}

bool LinuxUsbLink::product(UsbHandle h, std::u16string& text)
{
    Open* o = find(h);
    if (!o)
        return false;
    if (o->hid) {
        wchar_t buffer[256] = {};
        if (hid_get_product_string(o->hid, buffer, 255) != 0)
            return false;
        text = widen(buffer);
        return true;
    }
    unsigned char buffer[256] = {};
    const int n = o->product_index ? libusb_get_string_descriptor_ascii(o->block, o->product_index, buffer, sizeof buffer)
                                   : -1;
    if (n < 0)
        return false;
    text = widen(buffer, n);
    return true;
}

bool LinuxUsbLink::write_report(UsbHandle h, const uint8_t* data, uint32_t length, uint32_t& written)
{
    written = 0;
    Open* o = find(h);
    if (!o || !o->hid) {
        error_ = ERROR_INVALID_HANDLE;
        return false;
    }
    const int n = hid_write(o->hid, data, length);
    if (n < 0) {
        error_ = errno ? errno : ERROR_GEN_FAILURE;
        return false;
    }
    written = static_cast<uint32_t>(n);
    return true;
}

bool LinuxUsbLink::read_report(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned)
{
    returned = 0;
    Open* o = find(h);
    if (!o || !o->hid || length < 2) {
        error_ = ERROR_INVALID_HANDLE;
        return false;
    }
    // The camera's reports are unnumbered: hidapi delivers them without the identifier, which
    // the link expects in the first byte.
    const int n = hid_read_timeout(o->hid, data + 1, length - 1, REPORT_TIMEOUT_MS);
    if (n <= 0) {
        error_ = n == 0 ? TIMEOUT_ERROR : (errno ? errno : ERROR_GEN_FAILURE);
        return false;
    }
    data[0] = 0;
    returned = static_cast<uint32_t>(n) + 1;
    return true;
}

bool LinuxUsbLink::read_block(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned, int timeout_ms)
{
    returned = 0;
    Open* o = find(h);
    if (!o || !o->block) {
        error_ = ERROR_INVALID_HANDLE;
        return false;
    }
    int transferred = 0;
    const int rc = libusb_bulk_transfer(o->block, o->path.endpoint, data, static_cast<int>(length), &transferred,
                                        static_cast<unsigned>(timeout_ms));
    returned = static_cast<uint32_t>(std::max(0, transferred));
    if (rc != 0) {
        error_ = rc == LIBUSB_ERROR_TIMEOUT ? TIMEOUT_ERROR : -rc;
        return false;
    }
    return true;
}

UsbVersion LinuxUsbLink::system_version() const
{
    utsname name;
    UsbVersion v;
    if (uname(&name) == 0)
        parse_release(name.release, v.major, v.minor);
    return v;
}
