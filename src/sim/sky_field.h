// The simulated sky as the camera's sensor sees it: a seeded star field, sky background, dark
// current with hot pixels, vignetting and the gains of the two interlaced fields. It computes the
// expected signal of a field over an integration interval; the simulated camera adds bias and
// noise and packs the result into the camera's blocks.
//
// Coordinates: x is the sensor column (0..751), y the sensor row of the full frame (0..579), each
// pixel centred on its whole coordinates. Field E holds the even sensor rows, field O the odd
// ones: row r of field F is sensor row 2r + F.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/sky_motion.h"

class SimConfig;

struct CameraSkyParams {
    double star_count = 150;           // stars over the sensor's area
    double star_brightest = 300000;    // ADU per second of the brightest star (all its light)
    double star_magnitudes = 8;        // magnitude range from the brightest to the faintest
    double seeing_fwhm = 2.4;          // star FWHM in pixels at best focus
    double best_focus = 0;             // focuser position of the sharpest image
    double defocus_per_step = 0.04;    // FWHM growth in pixels per focuser step away from focus
    double sky_background = 25;        // ADU per second and pixel
    double bias = 320;                 // ADU
    double read_noise = 11;            // ADU rms
    double electrons_per_adu = 0.7;    // sets the shot noise
    double dark_current = 1.2;         // ADU per second and pixel
    double hot_pixel_fraction = 0.0004;
    double hot_pixel_factor_min = 30, hot_pixel_factor_max = 400;   // times the dark current
    double vignetting = 0.2;           // light lost in the sensor's corners
    double field_gain_ratio = 0.95;    // gain of field O relative to field E
    double lens_cap = 0;               // 1: no light reaches the sensor (dark frames)
    double sub_steps = 8;              // positions sampled over an integration interval

    static CameraSkyParams from(const SimConfig& config);
};

struct SimStar {
    double x = 0, y = 0;    // sensor column and full-frame row of its centre when the sky is still
    double flux = 0;        // ADU per second over all pixels of both fields
};

// A region of one field: ROWS field rows from ROW0, COLS sensor columns from COL0.
struct FieldRegion {
    int field = 0;          // 0 = E (even rows), 1 = O (odd rows)
    int row0 = 0, rows = 290;
    int col0 = 0, cols = 752;
};

class SkyField {
public:
    static constexpr int COLUMNS = 752, FIELD_ROWS = 290;

    SkyField(const CameraSkyParams& params, uint64_t seed);

    const CameraSkyParams& params() const { return params_; }
    CameraSkyParams& params() { return params_; }
    const std::vector<SimStar>& stars() const { return stars_; }
    void set_stars(std::vector<SimStar> stars) { stars_ = std::move(stars); }

    // The expected signal above bias, in ADU, of REGION integrated from T0_US to T1_US, as the
    // sky moved meanwhile; OUT gets rows x cols values (0 outside the sensor). Cost depends on the
    // region and the number of stars, not on the length of the interval.
    void expected_signal(const FieldRegion& region, int64_t t0_us, int64_t t1_us, SkyMotion& sky,
                         std::vector<float>& out) const;

    // The star's FWHM in pixels at focuser position FOCUS.
    double fwhm_at(double focus) const;
    // Relative light reaching the sensor at (X, Y): 1 in the centre, 1 - vignetting in a corner.
    double vignette(double x, double y) const;

private:
    CameraSkyParams params_;
    std::vector<SimStar> stars_;
    struct HotPixel { int x, y; float factor; };
    std::vector<HotPixel> hot_;
};

// A small, fast, seedable generator (splitmix64 seeding of xoshiro256**).
class SimRandom {
public:
    explicit SimRandom(uint64_t seed);
    uint64_t next();
    double uniform();       // [0, 1)
    double normal();        // mean 0, rms 1
private:
    uint64_t s_[4];
    double spare_ = 0;
    bool has_spare_ = false;
};
