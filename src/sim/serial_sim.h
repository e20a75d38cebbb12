// The simulated devices on the mount's serial port: a mount that speaks the LX200 command set and
// the guider control box, both moving the MountModel. They sit on the far end of a pseudo-terminal
// (SimulatedPort) and take each byte at the moment the line delivers it: about 1 ms per byte at
// 9600 baud, 33 ms at 300 baud. Which of the two answers follows the line speed the program set:
// the control box runs at 300 baud, the mount at any other speed.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "mount_model.h"
#include "platform/serial_library.h"

class Clock;

// What the devices saw, with the time the line delivered it (for tests).
struct SimLogEntry {
    int64_t t_us = 0;
    std::string text;    // an LX200 command between ':' and '#', "byte 11", "lines DTR 1 RTS 0", ...
};

class SimulatedLx200 {
public:
    explicit SimulatedLx200(MountModel& mount) : mount_(mount) {}
    // Takes one byte delivered at T_US; REPLY receives the answer bytes (sent from T_US on).
    void receive(uint8_t byte, int64_t t_us, std::string& reply, std::vector<SimLogEntry>& log);
    // The description "LI" answers for the selected object (without the closing '#').
    std::string description() const { return description_; }

private:
    void execute(const std::string& command, int64_t t_us, std::string& reply);

    MountModel& mount_;
    std::string partial_;
    bool in_command_ = false;
    MountRate rate_ = MountRate::Slew;
    bool focus_fast_ = true;
    bool have_target_ = false;
    double target_ra_ = 0, target_dec_ = 0;
    double set_ra_ = 0, set_dec_ = 0;   // from Sr/Sd
    std::string description_;
};

class SimulatedControlBox {
public:
    explicit SimulatedControlBox(MountModel& mount) : mount_(mount) {}
    void receive(uint8_t byte, int64_t t_us, std::vector<SimLogEntry>& log);
    void lines(bool dtr, bool rts, int64_t t_us, std::vector<SimLogEntry>& log);
    char selected() const { return selected_; }
    char running() const { return running_; }

private:
    MountModel& mount_;
    char selected_ = 0;   // relay chosen by the last select byte
    char running_ = 0;    // guide input switched on, 0 for none
};

// The far end of the pseudo-terminal: timestamps incoming bytes at the line rate, hands them to
// the device the line speed selects, and releases the replies byte by byte when their time comes.
class SimulatedPort : public SerialPeer {
public:
    SimulatedPort(std::shared_ptr<MountModel> mount, Clock& clock);

    void connect(int master_fd) override;
    void disconnect() override;
    size_t sync(uint64_t sent_total) override;
    void lines(bool dtr, bool rts) override;

    const std::vector<SimLogEntry>& log() const { return log_; }
    void clear_log() { log_.clear(); }
    MountModel& mount() { return *mount_; }
    SimulatedLx200& lx200() { return lx200_; }
    SimulatedControlBox& control_box() { return box_; }
    // Microseconds one byte takes on the line at the speed now set.
    int64_t byte_time_us() const;

private:
    bool box_speed() const;

    std::shared_ptr<MountModel> mount_;
    Clock& clock_;
    SimulatedLx200 lx200_;
    SimulatedControlBox box_;
    int master_ = -1;
    uint64_t received_ = 0;
    int64_t rx_free_ = 0;      // when the incoming line finishes the bytes taken so far
    int64_t tx_free_ = 0;      // when the outgoing line finishes the replies queued so far
    struct Pending { int64_t ready_us; uint8_t byte; };
    std::deque<Pending> out_;
    std::vector<SimLogEntry> log_;
};
