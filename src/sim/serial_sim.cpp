#include "serial_sim.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "platform/clock.h"

namespace {
struct CatalogueObject {
    int number;
    const char* text;
    double ra_hours, dec_degrees;
};

// A few well-known objects; the rest of each catalogue gets a plain entry.
const CatalogueObject messier[] = {
    {1, "M1 SN REMNANT MAG 8.4 SZ  6.0'", 5.575, 22.01},
    {13, "M13 GLOB CLUSTER MAG 5.8 SZ 23.0'", 16.695, 36.46},
    {31, "M31 GALAXY MAG 3.4 SZ178.0'", 0.712, 41.27},
    {42, "M42 NEBULA MAG 4.0 SZ 85.0'", 5.588, -5.39},
    {45, "M45 OPEN CLUSTER MAG 1.2 SZ110.0'", 3.790, 24.12},
    {51, "M51 GALAXY MAG 8.4 SZ 11.0'", 13.498, 47.20},
    {57, "M57 PLAN NEBULA MAG 8.8 SZ  1.4'", 18.893, 33.03},
    {81, "M81 GALAXY MAG 6.9 SZ 26.0'", 9.926, 69.07},
    {101, "M101 GALAXY MAG 7.9 SZ 29.0'", 14.053, 54.35},
    {110, "M110 GALAXY MAG 8.1 SZ 22.0'", 0.673, 41.69},
};
const char* planets[] = {"MERCURY", "VENUS", "", "MARS", "JUPITER", "SATURN", "URANUS", "NEPTUNE", "PLUTO"};

// Positions for objects without an entry: spread over the sky, repeatable.
void synthetic_position(int number, double& ra, double& dec)
{
    ra = std::fmod(number * 0.37, 24.0);
    dec = std::fmod(number * 7.3, 150.0) - 75.0;
}

void select_object(char catalogue, int number, std::string& text, double& ra, double& dec)
{
    char buf[64];
    if (catalogue == 'M') {
        for (const auto& o : messier)
            if (o.number == number) {
                text = o.text;
                ra = o.ra_hours;
                dec = o.dec_degrees;
                return;
            }
        std::snprintf(buf, sizeof buf, "M%d OBJECT", number);
    } else if (catalogue == 'S' && number >= 901 && number <= 909 && number != 903) {
        std::snprintf(buf, sizeof buf, "%s PLANET", planets[number - 901]);
    } else if (catalogue == 'S') {
        std::snprintf(buf, sizeof buf, "STAR %d", number);
    } else {
        std::snprintf(buf, sizeof buf, "NGC%d OBJECT", number);
    }
    text = buf;
    synthetic_position(number + (catalogue == 'C' ? 7000 : 0), ra, dec);
}

bool parse_ra(const std::string& a, double& hours)
{
    int h = 0, m = 0, tenth = 0;
    char c1 = 0, c2 = 0;
    if (std::sscanf(a.c_str(), "%2d%c%2d%c%1d", &h, &c1, &m, &c2, &tenth) != 5 || c1 != ':' || c2 != '.')
        return false;
    if (h < 0 || h > 23 || m < 0 || m > 59)
        return false;
    hours = h + (m + tenth / 10.0) / 60.0;
    return true;
}

bool parse_dec(const std::string& a, double& degrees)
{
    if (a.size() < 6 || (a[0] != '+' && a[0] != '-'))
        return false;
    int d = 0, m = 0;
    char c = 0;
    if (std::sscanf(a.c_str() + 1, "%2d%c%2d", &d, &c, &m) != 3 || (c != '*' && c != ':' && c != '\xdf'))
        return false;
    if (d > 90 || m < 0 || m > 59 || (d == 90 && m > 0))
        return false;
    degrees = (a[0] == '-' ? -1 : 1) * (d + m / 60.0);
    return true;
}
}

void SimulatedLx200::receive(uint8_t byte, int64_t t_us, std::string& reply, std::vector<SimLogEntry>& log)
{
    // ':' starts a command; after the command letters it is part of an argument ("05:34.0").
    if (byte == ':' && !(in_command_ && partial_.size() >= 2)) {
        partial_.clear();
        in_command_ = true;
        return;
    }
    if (byte == '#') {
        // A '#' with nothing before it clears a partial command; it is how "#:RG#" starts.
        if (in_command_ && !partial_.empty()) {
            log.push_back({t_us, partial_});
            execute(partial_, t_us, reply);
        }
        partial_.clear();
        in_command_ = false;
        return;
    }
    if (in_command_ && partial_.size() < 64)
        partial_.push_back(static_cast<char>(byte));
}

void SimulatedLx200::execute(const std::string& command, int64_t t_us, std::string& reply)
{
    const std::string name = command.substr(0, 2);
    std::string arg = command.size() > 2 ? command.substr(2) : std::string();
    if (!arg.empty() && arg[0] == ' ')
        arg.erase(0, 1);
    if (name == "RS") rate_ = MountRate::Slew;
    else if (name == "RM") rate_ = MountRate::Find;
    else if (name == "RC") rate_ = MountRate::Centre;
    else if (name == "RG") rate_ = MountRate::Guide;
    else if (name.size() == 2 && name[0] == 'M' && std::string("nsew").find(name[1]) != std::string::npos)
        mount_.start_move(name[1], rate_, t_us);
    else if (name.size() == 2 && name[0] == 'Q' && std::string("nsew").find(name[1]) != std::string::npos)
        mount_.stop_move(name[1], t_us);
    else if (command == "Q")
        mount_.stop_all(t_us);
    else if (name == "FF") focus_fast_ = true;
    else if (name == "FS") focus_fast_ = false;
    else if (name == "F+") mount_.start_focus(+1, focus_fast_, t_us);
    else if (name == "F-") mount_.start_focus(-1, focus_fast_, t_us);
    else if (name == "FQ") mount_.stop_focus(t_us);
    else if (name == "LM" || name == "LS" || name == "LC") {
        char* end = nullptr;
        const long number = std::strtol(arg.c_str(), &end, 10);
        if (end != arg.c_str() && number >= 0) {
            select_object(name[1], static_cast<int>(number), description_, target_ra_, target_dec_);
            have_target_ = true;
        }
    } else if (name == "LI") {
        // The mount answers with a fixed field of 32 characters and '#'.
        std::string text = description_.substr(0, 32);
        text.resize(32, ' ');
        reply += text + "#";
    } else if (name == "Sr") {
        const bool ok = parse_ra(arg, set_ra_);
        if (ok) { target_ra_ = set_ra_; have_target_ = true; }
        reply += ok ? "1" : "0";
    } else if (name == "Sd") {
        const bool ok = parse_dec(arg, set_dec_);
        if (ok) { target_dec_ = set_dec_; have_target_ = true; }
        reply += ok ? "1" : "0";
    } else if (name == "MS") {
        if (have_target_) {
            mount_.slew_to(target_ra_, target_dec_, t_us);
            reply += "0";
        } else {
            reply += "1No Object Selected#";
        }
    } else if (name == "GR" || name == "GD") {
        double ra = 0, dec = 0;
        mount_.pointing(t_us, ra, dec);
        char buf[32];
        if (name == "GR") {
            const int tenths = static_cast<int>(std::lround(ra * 600.0)) % (24 * 600);
            std::snprintf(buf, sizeof buf, "%02d:%02d.%d#", tenths / 600, tenths / 10 % 60, tenths % 10);
        } else {
            const int minutes = static_cast<int>(std::lround(std::fabs(dec) * 60.0));
            std::snprintf(buf, sizeof buf, "%c%02d*%02d#", dec < 0 ? '-' : '+', minutes / 60, minutes % 60);
        }
        reply += buf;
    }
}

void SimulatedControlBox::receive(uint8_t byte, int64_t t_us, std::vector<SimLogEntry>& log)
{
    char text[16];
    std::snprintf(text, sizeof text, "byte %02X", byte);
    log.push_back({t_us, text});
    auto letter = [](uint8_t bits) -> char {
        switch (bits) {
        case 0x01: return 'e';
        case 0x02: return 'n';
        case 0x04: return 's';
        case 0x08: return 'w';
        default: return 0;
        }
    };
    if (byte == 0x00 || byte == 0x0D) {   // all relays off; 0x0D starts the reset sequence
        if (running_)
            mount_.stop_move(running_, t_us);
        running_ = 0;
        if (byte == 0x0D)
            selected_ = 0;
        return;
    }
    const char dir = letter(byte & 0x0F);
    if (!dir)
        return;
    if ((byte & 0xF0) == 0x00) {
        selected_ = dir;
    } else if ((byte & 0xF0) == 0x10) {
        if (running_ && running_ != dir)
            mount_.stop_move(running_, t_us);
        running_ = dir;
        selected_ = dir;
        mount_.start_move(dir, MountRate::Guide, t_us);
    }
}

void SimulatedControlBox::lines(bool dtr, bool rts, int64_t t_us, std::vector<SimLogEntry>& log)
{
    log.push_back({t_us, std::string("lines DTR ") + (dtr ? "1" : "0") + " RTS " + (rts ? "1" : "0")});
}

SimulatedPort::SimulatedPort(std::shared_ptr<MountModel> mount, Clock& clock)
    : mount_(std::move(mount)), clock_(clock), lx200_(*mount_), box_(*mount_)
{
}

void SimulatedPort::connect(int master_fd)
{
    master_ = master_fd;
    received_ = 0;
    rx_free_ = tx_free_ = clock_.now_us();
    out_.clear();
    log_.push_back({clock_.now_us(), "open"});
}

void SimulatedPort::disconnect()
{
    log_.push_back({clock_.now_us(), "close"});
    master_ = -1;
    out_.clear();
}

bool SimulatedPort::box_speed() const
{
    termios t{};
    // The master of a pseudo-terminal reports the settings the program gave its end.
    return master_ >= 0 && ::tcgetattr(master_, &t) == 0 && ::cfgetospeed(&t) == B300;
}

int64_t SimulatedPort::byte_time_us() const
{
    termios t{};
    speed_t speed = B9600;
    if (master_ >= 0 && ::tcgetattr(master_, &t) == 0)
        speed = ::cfgetospeed(&t);
    int baud = 9600;
    switch (speed) {
    case B110: baud = 110; break;
    case B300: baud = 300; break;
    case B1200: baud = 1200; break;
    case B2400: baud = 2400; break;
    case B4800: baud = 4800; break;
    case B19200: baud = 19200; break;
    case B38400: baud = 38400; break;
    case B57600: baud = 57600; break;
    case B115200: baud = 115200; break;
    default: break;
    }
    return (10 * 1000000LL + baud / 2) / baud;   // start bit, eight data bits, stop bit
}

void SimulatedPort::lines(bool dtr, bool rts)
{
    box_.lines(dtr, rts, clock_.now_us(), log_);
}

size_t SimulatedPort::sync(uint64_t sent_total)
{
    if (master_ < 0)
        return 0;
    const int64_t now = clock_.now_us();
    const int64_t byte_us = byte_time_us();
    const bool box = box_speed();
    // Take everything the program has written; the pseudo-terminal may need a moment to pass it.
    uint8_t buf[256];
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (received_ < sent_total && std::chrono::steady_clock::now() < give_up) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            received_ += static_cast<uint64_t>(n);
            for (ssize_t i = 0; i < n; ++i) {
                rx_free_ = std::max(rx_free_, now) + byte_us;
                std::string reply;
                if (box)
                    box_.receive(buf[i], rx_free_, log_);
                else
                    lx200_.receive(buf[i], rx_free_, reply, log_);
                for (char c : reply) {
                    tx_free_ = std::max(tx_free_, rx_free_) + byte_us;
                    out_.push_back({tx_free_, static_cast<uint8_t>(c)});
                }
            }
        } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
            break;
        } else {
            pollfd pfd{master_, POLLIN, 0};
            ::poll(&pfd, 1, 5);
        }
    }
    // Deliver the reply bytes the line has finished by now.
    uint8_t send[256];
    size_t count = 0;
    while (!out_.empty() && out_.front().ready_us <= now && count < sizeof send) {
        send[count++] = out_.front().byte;
        out_.pop_front();
    }
    size_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(master_, send + written, count - written);
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    mount_->tick();
    return written;
}
