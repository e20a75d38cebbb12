// The simulated QV9 camera behind the USB link: one command (HID) interface and one block
// interface. It keeps the sensor's two photodiode fields, E (even rows) and O (odd rows), each
// with the time its integration began, and one readout register holding a field with its
// integration interval. Control commands move fields into the register; a block-read command
// delivers the register in the requested mode, rendered from the sky field over its interval.
// Only the program's clock drives it; everything random comes from the seed.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/usb_link.h"
#include "sim/sky_field.h"

class Clock;
class SimConfig;
class SkyMotion;

struct SimCameraTimes {
    int report_ms = 1;          // a command report on the interrupt endpoint
    int binned_ms = 1480;       // block transfer of a binned field
    int field_ms = 2930;        // block transfer of a full-resolution field
    int window_ms = 150;        // block transfer of a 128 x 128 window
};

class SimCamera : public UsbLink {
public:
    static constexpr uint16_t VENDOR = 0x5156, PRODUCT = 0x0009;

    SimCamera(const SimConfig& config, Clock& clock, std::shared_ptr<SkyMotion> sky, uint64_t seed);

    SkyField& sky_field() { return field_; }
    SimCameraTimes& times() { return times_; }
    // The lens cap: with it on, frames are dark frames.
    void set_lens_cap(bool on) { field_.params().lens_cap = on ? 1 : 0; }
    // Every command packet received, with its time, while recording is on (tests turn it on).
    struct Command { int64_t t_us; uint8_t packet[8]; };
    void record_commands(bool on) { recording_ = on; commands_.clear(); }
    const std::vector<Command>& commands() const { return commands_; }
    // Notes on packets the camera could not make sense of.
    const std::vector<std::string>& log() const { return log_; }
    // The field and interval of the last block delivered (for tests and the truth log).
    struct Delivery { int mode = -1; int field = -1; int64_t t0_us = 0, t1_us = 0; int row0 = 0, col0 = 0; };
    const Delivery& last_delivery() const { return last_; }

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
    UsbVersion system_version() const override { return {6, 1}; }

    static constexpr const char* HID_PATH = "sim:qv9:hid";
    static constexpr const char* BLOCK_PATH = "sim:qv9:block";

private:
    enum Kind { None, Hid, Block };
    Kind kind_of(UsbHandle h) const;
    void command(const uint8_t* packet);
    void prepare_block(const uint8_t* packet);
    void render(std::vector<uint8_t>& block);
    void note(const std::string& text);

    Clock& clock_;
    std::shared_ptr<SkyMotion> sky_;
    SkyField field_;
    uint64_t seed_;
    SimCameraTimes times_;

    struct Register { int field; int64_t t0_us, t1_us; };
    int64_t field_start_[2] = {0, 0};
    std::optional<Register> register_;

    struct Pending { int mode; std::optional<Register> reg; int row0, col0; };
    std::optional<Pending> pending_;
    std::vector<uint8_t> block_;
    uint64_t readouts_ = 0;

    std::vector<std::pair<UsbHandle, Kind>> open_;
    UsbHandle next_handle_ = 420;
    int error_ = 0;
    std::vector<std::string> log_;
    bool recording_ = false;
    std::vector<Command> commands_;
    Delivery last_;
};
