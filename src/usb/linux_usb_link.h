// The camera on a real USB port under Linux: the command interface through hidapi (hidraw), the
// block interface through libusb bulk transfers. Only interfaces of the chosen vendor and product
// are listed, so no other HID device (a keyboard, a mouse) is ever opened.
#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include "platform/usb_link.h"

class LinuxUsbLink : public UsbLink {
public:
    LinuxUsbLink(uint16_t vid, uint16_t pid);
    ~LinuxUsbLink() override;

    bool list(UsbClass cls, std::vector<UsbInterfaceEntry>& out) override;
    UsbHandle open(const std::string& path) override;
    void close(UsbHandle h) override;
    bool attributes(UsbHandle h, uint16_t& vid, uint16_t& pid) override;
    bool manufacturer(UsbHandle h, std::u16string& text) override;
    bool product(UsbHandle h, std::u16string& text) override;
    bool write_report(UsbHandle h, const uint8_t* data, uint32_t length, uint32_t& written) override;
    bool read_report(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned) override;
    bool read_block(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned, int timeout_ms) override;
    int last_error() const override { return error_; }
    UsbVersion system_version() const override;

private:
    struct Open;
    Open* find(UsbHandle h);

    uint16_t vid_, pid_;
    struct libusb_context* usb_ = nullptr;
    bool hid_ready_ = false;
    std::map<UsbHandle, std::unique_ptr<Open>> open_;
    UsbHandle next_ = 1;
    int error_ = 0;
};
