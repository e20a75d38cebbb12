// The camera's two USB interfaces as the program sees them: a HID command interface (output and
// input reports) and a block interface from which image data comes in one bulk read. The
// operations mirror what the camera link needs of the system: list the present interfaces of a
// class, open one by its device path, ask for its identifiers and strings, move bytes, close.
// Implemented by the simulated camera (sim/) and by the Linux backend on hidapi + libusb (usb/).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class UsbClass { Hid, Block };

// One present interface of a class, in the order the system enumerates them.
struct UsbInterfaceEntry {
    std::string path;          // the device path to open
    bool path_known = true;    // false: the system could not give the device path
};

// Handles are small positive numbers; 0 is no handle.
using UsbHandle = int;

struct UsbVersion {
    int major = 0;
    int minor = 0;
};

class UsbLink {
public:
    // Error number of a block read that delivered fewer bytes than asked before its time-out.
    static constexpr int TIMEOUT_ERROR = 121;
    // Time-out of a block read in milliseconds.
    static constexpr int BLOCK_TIMEOUT_MS = 10000;

    virtual ~UsbLink() = default;

    // The present interfaces of CLS; false when the system cannot list them at all.
    virtual bool list(UsbClass cls, std::vector<UsbInterfaceEntry>& out) = 0;
    // Opens PATH for reading and writing; 0 when it cannot be opened.
    virtual UsbHandle open(const std::string& path) = 0;
    virtual void close(UsbHandle h) = 0;

    // Vendor and product identifier of an open interface.
    virtual bool attributes(UsbHandle h, uint16_t& vid, uint16_t& pid) = 0;
    // Manufacturer and product strings (UTF-16 code units, no terminator).
    virtual bool manufacturer(UsbHandle h, std::u16string& text) = 0;
    virtual bool product(UsbHandle h, std::u16string& text) = 0;

    // Writes one output report (report identifier in the first byte); false when refused.
    virtual bool write_report(UsbHandle h, const uint8_t* data, uint32_t length, uint32_t& written) = 0;
    // Reads one input report of up to LENGTH bytes (identifier first); false when none came.
    virtual bool read_report(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned) = 0;
    // Reads LENGTH bytes from the block interface, waiting at most TIMEOUT_MS; false (with
    // RETURNED holding what did arrive) on an error or a time-out.
    virtual bool read_block(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned,
                            int timeout_ms) = 0;

    // The error number of the last failed operation.
    virtual int last_error() const = 0;
    // The operating system's version numbers.
    virtual UsbVersion system_version() const = 0;
};
