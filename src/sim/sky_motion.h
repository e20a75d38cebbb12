// Where the sky is on the sensor: the simulated mount moves it (drift, periodic error, guide
// pulses, slews), the simulated camera renders the star field at that offset. Time comes only from
// the program's clock, in microseconds.
#pragma once
#include <cstdint>

struct SkyOffset {
    double x_px = 0.0;     // full-frame image pixels, +x to the right
    double y_rows = 0.0;   // field rows, +y downwards
};

class SkyMotion {
public:
    virtual ~SkyMotion() = default;
    // The sky's offset on the sensor at time T_US from where it was when the simulation began.
    virtual SkyOffset offset_at(int64_t t_us) = 0;
    // The focuser position at T_US (arbitrary steps; the camera's best focus is a config value).
    virtual double focus_position(int64_t t_us) = 0;
    // 1 in a clear sky, 0 while a cloud hides the stars.
    virtual double transparency(int64_t t_us) { (void)t_us; return 1.0; }
};

// A sky that does not move: the camera's own tests, and the program until a mount is simulated.
class StillSky : public SkyMotion {
public:
    SkyOffset offset_at(int64_t) override { return {}; }
    double focus_position(int64_t) override { return 0.0; }
};
