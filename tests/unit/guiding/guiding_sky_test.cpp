// Guiding on the simulated sky, measured from the simulator's truth log: training finds the
// mount's rates and backlash, guiding holds the star against drift and periodic error, through
// a cloud, and with the mount's orientation flipped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "camera/zr_readout.h"
#include "files/settings_values.h"
#include "guiding/guiding_loop.h"
#include "sky_run.h"

namespace {
// The sky of the first scenario: a guide rate of 2 px/s on both axes, RA drift 3 px/min with a
// periodic error of 2 px over 8 minutes, Dec drift 1.5 rows/min, stars of FWHM 3 px.
const char* const DRIFTING_SKY =
    "seeing_fwhm = 3\n"
    "mount.guide_rate_x = 2\n"
    "mount.guide_rate_y = 2\n"
    "mount.drift_x = 0.05\n"
    "mount.drift_y = 0.025\n"
    "mount.pe_amplitude = 2\n"
    "mount.pe_period = 480\n";

class GuidingSkyTest : public SkyRun {
protected:
    // The user's settings: an LX200 (or the box), 2-second training, star mask 8, 1-second guide
    // frames shown without stretch.
    void settings(char interface, int training_seconds = 2)
    {
        telescope = interface;
        slewdefault = training_seconds;
        star_mask = 8;
        exp_range = 's';
        exp_value = 1;
        focus_stretch = 16;
        save_settings();
    }
    // Guides for MINUTES, stopped by a key press; returns the log time the guiding started.
    double guide(int minutes)
    {
        const double start = log_time_ms();
        run_script("at " + std::to_string(minutes * 60000) + " key\ncommand 23");
        return start;
    }
};

TEST_F(GuidingSkyTest, TrainsRatesAndHoldsTheStarAgainstDriftAndPeriodicError)
{
    start(DRIFTING_SKY);
    settings('l');
    picture_and_pick();
    run_script("command 22");
    int sx = 0, sy = 0, bx = 0, by = 0;
    ASSERT_TRUE(training_message(sx, sy, bx, by)) << transcript();
    std::printf("training: slewx %d slewy %d backlashx %d backlashy %d\n", sx, sy, bx, by);
    picture_and_pick();
    const auto wall0 = std::chrono::steady_clock::now();
    const double t0 = guide(20);
    const double t1 = log_time_ms();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const TruthStats st = stats(t0 + 2000, t0 + 2000, t1);
    std::printf("guiding %.0f s (%.2f s real): rms x %.3f y %.3f max %.3f (%d samples)\n", (t1 - t0) / 1000, wall,
                st.rms_x, st.rms_y, st.max_dist, st.samples);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(sy, 2);
    EXPECT_LT(st.rms_x, 0.25);
    EXPECT_LT(st.rms_y, 0.25);
    EXPECT_LT(st.max_dist, 1.0);
}
}
