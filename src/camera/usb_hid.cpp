#include "usb_hid.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/core/messages.h"
#include "platform/message_box.h"
#include "platform/services.h"

UsbHandle HidHandle = 0;
UsbHandle BlockIOHandle = 0;
int got_zr = 0;
int Win98 = 0;
// Show_Interface_Details is a setting ("Debug Info Mode"), defined with the settings dialog.
uint8_t camdata[8] = {};
uint8_t ReportBuffer[REPORT_BUFFER_SIZE];
int32_t ByteCount = 0;
uint32_t BytesReturned = 0;
uint32_t BytesWritten = 0;

namespace {
std::unique_ptr<USBHid> device_table;

constexpr const char* NOT_PRESENT = "- not present -";
// Error number reported when there is no link at all (the system's "invalid handle").
constexpr int NO_LINK_ERROR = 6;

void error_box(const char* text)
{
    if (services().boxes)
        services().boxes->show("Error", text, BoxButtons::Ok, BoxIcon::Stop);
}

int last_error()
{
    return services().usb ? services().usb->last_error() : NO_LINK_ERROR;
}

void copy_bounded(char* out, const char* text, int max)
{
    std::snprintf(out, static_cast<size_t>(max), "%s", text);
}

// Sends N payload bytes as one report; false when nothing was sent or the write was refused.
bool send_report(const uint8_t* data, int n)
{
    if (n > 254) {
        messages(50, "Maximum ByteCount for WriteUSBdevice is 254");
        return false;
    }
    uint8_t report[255] = {};
    if (n > 0)
        std::memcpy(report + 1, data, static_cast<size_t>(n));
    UsbLink* link = services().usb;
    BytesWritten = 0;
    if (!link || !link->write_report(HidHandle, report, static_cast<uint32_t>(n + 1), BytesWritten)) {
        char text[80];
        std::snprintf(text, sizeof text, "Error %d trying to send command to USB \n", last_error());
        messages(50, text);
        return false;
    }
    return true;
}
}

USBHid& usb_hid()
{
    if (!device_table)
        device_table = std::make_unique<USBHid>();
    return *device_table;
}

void narrow_usb_string(const std::u16string& text, char* out, int max)
{
    int n = 0;
    for (char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xff);
        if (low == 0 || n >= max - 1)
            break;
        out[n++] = low;
    }
    out[n] = 0;
}

int USBHid::CollectingUSBHidInfo()
{
    UsbLink* link = services().usb;
    int result = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const UsbClass cls = pass == 0 ? UsbClass::Hid : UsbClass::Block;
        std::vector<UsbInterfaceEntry> present;
        if (!link || !link->list(cls, present)) {
            messages(50, "Could not attach to PnP node");
            return 0;
        }
        UsbHandle& kept = pass == 0 ? HidHandle : BlockIOHandle;
        for (int j = 0; j < TABLE_SIZE; ++j) {
            HidDeviceDataType& record = HidDeviceData[j];
            record.VID = 0;
            if (j >= static_cast<int>(present.size()))
                continue;
            result = 1;
            if (!present[j].path_known) {
                error_box("Could not find the system name for this HID device");
                return 0;
            }
            copy_bounded(DevicePath[pass], present[j].path.c_str(), sizeof DevicePath[pass]);
            const UsbHandle h = link->open(DevicePath[pass]);
            if (h == 0) {
                // One interface that cannot be opened (held by another program, no permission)
                // does not end the search: the others may still be the camera.
                error_box("Could not open HID device");
                continue;
            }
            // The last interface of each class is the one used; the one it supersedes is closed.
            if (kept != 0 && kept != h)
                link->close(kept);
            kept = h;
            uint16_t vid = 0, pid = 0;
            if (!link->attributes(h, vid, pid))
                vid = pid = 0;
            record.VID = vid;
            record.PID = pid;
            std::u16string text;
            if (link->manufacturer(h, text))
                narrow_usb_string(text, record.VendorName, sizeof record.VendorName);
            else
                copy_bounded(record.VendorName, NOT_PRESENT, sizeof record.VendorName);
            text.clear();
            const bool got_product = link->product(h, text);
            if (pass == 0 && !got_product)
                copy_bounded(record.ProductName, NOT_PRESENT, sizeof record.ProductName);
            else
                narrow_usb_string(text, record.ProductName, sizeof record.ProductName);
        }
    }
    if (HidHandle == 0 || BlockIOHandle == 0) {
        messages(50, "USB BlockIO device not found");
        got_zr = 0;
        return result;
    }
    const UsbVersion version = link->system_version();
    Win98 = version.major == 4 && version.minor > 0 ? 1 : 0;
    if (Show_Interface_Details) {
        char text[120];
        std::snprintf(text, sizeof text, "Camera Found, Hid = %6d, BlockIO = %6d\nO/S = %4d.%4d", HidHandle,
                      BlockIOHandle, version.major, version.minor);
        messages(50, text);
    }
    got_zr = 1;
    return result;
}

void WriteUSBdevice(const uint8_t* BufferPtr, int n)
{
    send_report(BufferPtr, n);
}

void ReadUSBdevice(uint8_t* BufferPtr, int n)
{
    if (n > 254) {
        messages(50, "Maximum ByteCount for ReadUSBdevice is 254");
        return;
    }
    if (n < 1) {
        messages(50, "Minimum ByteCount for ReadUSBdevice is 1");
        return;
    }
    UsbLink* link = services().usb;
    BytesReturned = 0;
    if (!link || !link->read_report(HidHandle, ReportBuffer, static_cast<uint32_t>(n + 1), BytesReturned)) {
        messages(50, "Could not get an Input Report");
        return;
    }
    // Only what arrived after the report identifier, never more than was asked for.
    const uint32_t payload = std::min<uint32_t>(BytesReturned > 0 ? BytesReturned - 1 : 0, static_cast<uint32_t>(n));
    if (payload > 0)
        std::memcpy(BufferPtr, ReportBuffer + 1, payload);
}

void ReceiveBlock()
{
    const uint32_t wanted = static_cast<uint32_t>(std::clamp<int32_t>(ByteCount, 0, REPORT_BUFFER_SIZE));
    BytesReturned = 0;
    camdata[0] = 4;
    if (!send_report(camdata, 8)) {
        // The camera was not asked for a block: nothing will come, and the caller must not copy
        // the previous frame's data as if it were this one.
        std::memset(ReportBuffer, 0, wanted);
        return;
    }
    UsbLink* link = services().usb;
    const bool ok = link->read_block(BlockIOHandle, ReportBuffer, wanted, BytesReturned, UsbLink::BLOCK_TIMEOUT_MS);
    BytesReturned = std::min(BytesReturned, wanted);
    if (!ok || BytesReturned < wanted) {
        int error = link->last_error();
        if (ok || error == 0)
            error = UsbLink::TIMEOUT_ERROR;
        char text[80];
        std::snprintf(text, sizeof text, "Error %d trying to read BlockIO data from USB\n", error);
        messages(50, text);
        std::memset(ReportBuffer + BytesReturned, 0, wanted - BytesReturned);
    }
}

void CloseUSBdevice()
{
    if (UsbLink* link = services().usb) {
        if (HidHandle != 0)
            link->close(HidHandle);
        if (BlockIOHandle != 0)
            link->close(BlockIOHandle);
    }
    HidHandle = 0;
    BlockIOHandle = 0;
    got_zr = 0;
}

void reset_usb_link()
{
    HidHandle = 0;
    BlockIOHandle = 0;
    got_zr = 0;
    Win98 = 0;
    Show_Interface_Details = 0;
    std::memset(camdata, 0, sizeof camdata);
    ByteCount = 0;
    BytesReturned = 0;
    BytesWritten = 0;
    device_table.reset();
}
