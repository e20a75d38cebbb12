// The mount's motion of the sky on the sensor: drift and periodic error all the time, guide and
// manual moves at the mount's rates with backlash on reversal, the focuser, GoTo slews of the
// pointing, and cloud intervals. Everything is a function of the program's clock; moves are
// recorded as time segments, so the camera may ask for any moment of an integration.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sky_motion.h"

class Clock;
class SimConfig;

struct MountParams {
    double guide_rate_x = 2.0;      // image pixels per second at guide rate (east-west)
    double guide_rate_y = 1.0;      // field rows per second at guide rate (north-south)
    double centre_factor = 8.0;     // "#:RC#" rate as a multiple of the guide rate
    double find_factor = 16.0;      // "#:RM#"
    double slew_factor = 64.0;      // "#:RS#"
    double backlash_x = 0.0;        // slack taken up after a reversal, pixels
    double backlash_y = 0.0;        // Dec backlash, field rows
    double drift_x = 0.0;           // pixels per second
    double drift_y = 0.0;           // field rows per second
    double drift_y_reverse = 0.0;   // seconds between reversals of the Dec drift; 0: never
    double pe_amplitude = 0.0;      // periodic error in x, pixels
    double pe_period = 480.0;       // seconds
    bool flip_ew = false;           // east moves the star towards -x
    bool flip_ns = false;           // north moves the star towards -y
    double focus_start = 0.0;       // focuser steps at the start
    double focus_fast = 100.0;      // steps per second, "#:FF#"
    double focus_slow = 10.0;       // steps per second, "#:FS#"
    double goto_rate = 4.0;         // degrees per second of a GoTo slew
    double ra_hours = 0.0;          // pointing at the start
    double dec_degrees = 90.0;
    double cloud_start = -1.0;      // seconds; negative: a clear sky
    double cloud_length = 0.0;      // seconds
    double cloud_every = 0.0;       // seconds between cloud starts; 0: only one cloud
    double cloud_transparency = 0.0;   // what a cloud lets through, 0..1
};

MountParams mount_params(const SimConfig& config);

enum class MountAxis { X, Y };
enum class MountRate { Guide, Centre, Find, Slew };

class MountModel : public SkyMotion {
public:
    MountModel(const MountParams& params, Clock& clock);
    ~MountModel() override;

    // Starts a move in compass direction DIR ('n', 's', 'e', 'w') at RATE from T_US on; a move
    // already running on that axis ends there.
    void start_move(char dir, MountRate rate, int64_t t_us);
    // Ends the move of direction DIR (nothing when that direction is not moving).
    void stop_move(char dir, int64_t t_us);
    void stop_all(int64_t t_us);
    // Focuser: DIR +1 or -1, FAST or slow; stop ends it.
    void start_focus(int dir, bool fast, int64_t t_us);
    void stop_focus(int64_t t_us);
    // A GoTo slew of the pointing to RA hours, Dec degrees, starting at T_US.
    void slew_to(double ra_hours, double dec_degrees, int64_t t_us);
    // Pointing (RA hours, Dec degrees) at T_US.
    void pointing(int64_t t_us, double& ra_hours, double& dec_degrees) const;
    bool moving(char dir) const;

    SkyOffset offset_at(int64_t t_us) override;
    double focus_position(int64_t t_us) override;
    double transparency(int64_t t_us) override;

    // Writes "t_ms,x_px,y_px" rows to PATH from now on: the offset from where the sky was when the
    // log began, at least once per simulated second and at every start and end of a move.
    bool start_log(const std::string& path);
    // Writes the once-per-second rows up to the clock's time.
    void tick();

    const MountParams& params() const { return p_; }

private:
    struct AxisState {
        double pos = 0.0;     // star offset along the axis
        int side = 1;         // direction the gears are engaged in
        double taken = 0.0;   // slack taken up since the last reversal
    };
    struct Segment {
        int64_t start = 0;
        int64_t end = INT64_MAX;
        int sign = 1;
        double rate = 0.0;    // per second, before the sign
        AxisState at_start;
    };
    struct Axis {
        double backlash = 0.0;
        std::vector<Segment> segments;
        AxisState state_at(int64_t t) const;
        void start(int64_t t, int sign, double rate);
        void stop(int64_t t);
        bool running() const { return !segments.empty() && segments.back().end == INT64_MAX; }
    };
    static AxisState advance(AxisState s, double backlash, int sign, double distance);
    Axis& axis_of(char dir, int& sign);
    double rate_of(MountAxis axis, MountRate rate) const;
    SkyOffset raw_offset(int64_t t_us) const;
    void log_row(int64_t t_us);
    void log_until(int64_t t_us);

    MountParams p_;
    Clock& clock_;
    int64_t t0_;
    Axis x_, y_, focus_;
    struct Slew { int64_t start; double ra0, dec0, ra1, dec1; };
    std::vector<Slew> slews_;
    std::FILE* log_ = nullptr;
    int64_t log_start_ = 0;
    int64_t log_next_ = 0;     // time of the next once-per-second row
    int64_t log_last_ = 0;     // time of the last row written
    SkyOffset log_origin_;
};
