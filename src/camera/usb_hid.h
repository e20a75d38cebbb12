// The camera's USB link: finds and opens the command (HID) and block interfaces, writes command
// reports, reads input reports and image blocks. Failures are shown in message boxes and the
// caller carries on.
#pragma once
#include <cstdint>
#include <string>

#include "platform/usb_link.h"

extern UsbHandle HidHandle;          // command interface; 0 until opened
extern UsbHandle BlockIOHandle;      // block interface; 0 until opened
extern int got_zr;                   // both interfaces opened by the last complete enumeration
extern int Win98;                    // system version 4.x with x above 0
extern int Show_Interface_Details;   // "Debug Info Mode": report the handles after enumeration
extern uint8_t camdata[8];           // the camera command packet

constexpr int REPORT_BUFFER_SIZE = 1000000;
extern uint8_t ReportBuffer[REPORT_BUFFER_SIZE];   // block data from its first byte
extern int32_t ByteCount;            // bytes the next ReceiveBlock reads
extern uint32_t BytesReturned;       // bytes delivered by the last read
extern uint32_t BytesWritten;        // bytes taken by the last report write

class USBHid {
public:
    static constexpr int TABLE_SIZE = 20;
    struct HidDeviceDataType {
        uint16_t VID = 0;
        char VendorName[256] = {};
        uint16_t PID = 0;
        char ProductName[256] = {};
    };
    HidDeviceDataType HidDeviceData[TABLE_SIZE];
    char DevicePath[2][256] = {};

    // Finds and opens both interfaces; 1 when any interface was enumerated, else 0. Sets
    // HidHandle, BlockIOHandle, got_zr and Win98.
    int CollectingUSBHidInfo();
};

// The device table, created the first time the camera is enumerated.
USBHid& usb_hid();

void WriteUSBdevice(const uint8_t* BufferPtr, int ByteCount);
void ReadUSBdevice(uint8_t* BufferPtr, int ByteCount);
// Sends camdata as the block-read command (byte 0 = 4) and reads ByteCount bytes into ReportBuffer.
void ReceiveBlock();
void CloseUSBdevice();

// UTF-16 text narrowed to its low bytes up to the first zero low byte, at most MAX - 1 characters
// and a terminator written into OUT.
void narrow_usb_string(const std::u16string& text, char* out, int max);

// Start-up values of the link state (handles forgotten, not closed: the link they belong to is
// replaced with the program).
void reset_usb_link();
