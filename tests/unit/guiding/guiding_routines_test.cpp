// The guiding routines on worked values: the pulse of one axis, the correction step on a made-up
// guide frame with the bytes it sends, the training arithmetic, and both stacking methods.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "camera/info_dialog.h"
#include "camera/usb_hid.h"
#include "camera/sequence_state.h"
#include "files/settings_values.h"
#include "guiding/guide_training.h"
#include "guiding/guiding_loop.h"
#include "guiding/stacking.h"
#include "guiding/telescope_protocol.h"
#include "platform/services.h"
#include "processing/star_centroid.h"
#include "serial_recorder.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
TEST(AxisPulse, WorkedValues)
{
    struct Case {
        int error, threshold;
        char last;
        int backlash, rate, hyst;
        bool corrected;
        char direction;
        int slew_time;
    };
    const Case cases[] = {
        {80, 20, 'e', 0, 2, 0, true, 'e', 40},      // 80 thousandths at 2 px/s: 40 ms
        {80, 20, 'e', 0, 2, 1, true, 'e', -60},     // hysteresis 1: 40 - 100, no pulse
        {20, 20, 'e', 0, 2, 0, false, 0, 0},        // RA limit: 20 is not corrected
        {21, 20, 'e', 0, 2, 0, true, 'e', 10},      // 21 is
        {30, 30, 'n', 0, 2, 0, false, 0, 0},        // Dec limit 30
        {-31, 30, 'n', 0, 2, 0, true, 's', 15},
        {-100, 20, 'e', 3, 2, 0, true, 'w', 48},    // first 'w' after 'e': backlash 3 on -100 -> -97
        {100, 20, 'e', 3, 2, 0, true, 'e', 50},     // towards 'e' again: no backlash
        {1000, 1000, 'e', 0, 2, 0, false, 0, 0},    // "Ignore drift < 1 pixel"
        {1001, 1000, 'e', 0, 2, 0, true, 'e', 500},
    };
    for (const Case& c : cases) {
        char last = c.last;
        const AxisPulse p = axis_pulse(c.error, c.threshold, c.threshold == 30 ? 'n' : 'e',
                                       c.threshold == 30 ? 's' : 'w', last, c.backlash, c.rate, c.hyst);
        EXPECT_EQ(p.corrected, c.corrected) << c.error;
        if (!c.corrected) {
            EXPECT_EQ(last, c.last) << "an uncorrected axis keeps its last direction";
            continue;
        }
        EXPECT_EQ(p.direction, c.direction) << c.error;
        EXPECT_EQ(p.slew_time, c.slew_time) << c.error;
        EXPECT_EQ(last, c.direction);
    }
}

TEST(TrainingResults, RatesAverageRaAndTakeTheLargerDec)
{
    // T = 2: the second east and the second west pulse moved 40 and 38 pixels.
    TrainingPositions p;
    p.x[1] = 10; p.x[2] = 50; p.x[3] = 90; p.x[4] = 52; p.x[5] = 14;
    p.y[1] = 20; p.y[2] = 28; p.y[3] = 36; p.y[4] = 31; p.y[5] = 22;
    const TrainingResults r = training_results(p, 2);
    EXPECT_EQ(r.slewx, 19);                  // (40 + 38) / 4
    EXPECT_EQ(r.backlashx, 1);               // (|10 - 14| + |50 - 52|) / 4
    EXPECT_EQ(r.slewy, 4);                   // max(8, 9) / 2
    EXPECT_EQ(r.backlashy, 1);               // max(3, 2) / 2
    EXPECT_EQ(training_results(TrainingPositions{}, 1).slewx, 0);
}

// A 128 x 128 guide frame: background 1000, one star of Gaussian profile.
void guide_frame(double cx, double cy, double peak)
{
    for (int y = 0; y < SUBFRAME_SIDE; ++y)
        for (int x = 0; x < SUBFRAME_SIDE; ++x) {
            const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            image_int[y * SUBFRAME_SIDE + x] = static_cast<uint16_t>(1000 + peak * std::exp(-r2 / 2.9));
        }
}

class CorrectionStepTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        serial = std::make_unique<SerialRecorder>(*clock_);
        services().serial = serial.get();
        telescope = 'l';
        comfound = 1;
        guiding = 1;
        tracking = 1;
        cur_rad = 8;
        slewx = slewy = 2;
    }
    // Measures the star and puts the reference DX, DY thousandths away from it.
    void reference_off_star(int dx, int dy)
    {
        ASSERT_EQ(find_centre(64, 64, image_int, 8), 0);
        const int x = xcent * 1000 + xcentdec * 100 + dx, y = ycent * 1000 + ycentdec * 100 + dy;
        guide_ref::x1 = x / 1000;
        x1dec = (x % 1000) / 100;
        guide_ref::y1 = y / 1000;
        y1dec = (y % 1000) / 100;
    }
    std::unique_ptr<SerialRecorder> serial;
};

TEST_F(CorrectionStepTest, PulsesBothAxesForTheMeasuredError)
{
    guide_frame(64.3, 60.0, 20000);
    backlashy = 10;
    reference_off_star(1000, -400);
    ASSERT_EQ(guide_telescope(image_int), 0);
    EXPECT_EQ(x3, 1000);
    EXPECT_EQ(y3, -400);
    const auto w = serial->writes();
    ASSERT_EQ(w.size(), 6u) << serial->written();
    EXPECT_EQ(w[1].data, "#:Me#");
    EXPECT_EQ(w[4].data, "#:Ms#");
    EXPECT_NEAR((w[2].t_us - w[1].t_us) / 1000.0, 500.0, 1.0);   // 1000 / 2
    EXPECT_NEAR((w[5].t_us - w[4].t_us) / 1000.0, 195.0, 1.0);   // (-400 + 10) / 2: 's' after 'n'
    EXPECT_EQ(lastslewx, 'e');
    EXPECT_EQ(lastslewy, 's');
    // Each pulse sounds between two beeps.
    std::string t = transcript();
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 4) << t;
}

TEST_F(CorrectionStepTest, NoStarNoFaintStarAndLostStar)
{
    guide_frame(64.0, 64.0, 20000);
    reference_off_star(500, 500);
    remember_star_peak(image_int);
    x3 = y3 = 77;
    // The star has faded to noise level (a cloud): nothing is corrected, the reference stays.
    guide_frame(64.0, 64.0, 3000);
    EXPECT_EQ(guide_telescope(image_int), 0);
    // A flat frame: nothing found.
    std::fill(image_int, image_int + SUBFRAME_SAMPLES, 1000);
    EXPECT_EQ(guide_telescope(image_int), 0);
    EXPECT_TRUE(serial->writes().empty()) << serial->written();
    EXPECT_EQ(x3, 77);
    EXPECT_EQ(guiding, 1);
    // A window that leaves the frame cannot be measured: the star is lost.
    guide_frame(124.0, 64.0, 20000);
    guide_ref::x1 = 124;
    selfguiding = 1;
    EXPECT_EQ(guide_telescope(image_int), 3);
    EXPECT_EQ(guiding, 0);
    EXPECT_EQ(selfguiding, 0);
    EXPECT_EQ(tracking, 0);
    EXPECT_TRUE(serial->writes().empty());
}

TEST_F(CorrectionStepTest, GuidingCommandsNeedAPickedStarAndAnOpenPort)
{
    picked_star = 0;
    comfound = 0;
    run_script("command 22\ncommand 23");
    const std::string refused = "message \"Skyvane\" \"You must first take an image and pick a star\"\n";
    EXPECT_EQ(transcript(), refused + refused);
    got_zr = 1;
    picked_star = 1;
    serial->fail["parms"] = -2;
    run_script("command 23");
    EXPECT_NE(transcript().find("\"Communication with telescope failed\""), std::string::npos) << transcript();
    EXPECT_EQ(guiding, 0);
}

// Binned test frames with Gaussian stars on a background of 1000.
struct Star { double x, y, peak; };
void binned_frame(uint16_t* plane, const std::vector<Star>& stars, int background = 1000)
{
    for (int y = 0; y < BINNED_HEIGHT; ++y)
        for (int x = 0; x < BINNED_WIDTH; ++x) {
            double v = background;
            for (const Star& s : stars)
                v += s.peak * std::exp(-((x - s.x) * (x - s.x) + (y - s.y) * (y - s.y)) / 2.9);
            plane[y * BINNED_WIDTH + x] = static_cast<uint16_t>(std::min(v, 65535.0));
        }
}

class StackingTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        binned = 1;
        QV_binned();
        star_mask = 8;
        total_images = 2;
        slew_sum_average = 0;
        picked_star = 1;
    }
    int track() { return track_accumulate(image_int, trial_int, &ox, &oy, &mx, &my, &omax, &oavg, &first); }
    int slew() { return slew_accumulate(image_int, trial_int, &ox, &oy, &mx, &my, &omax, &oavg, &first); }
    uint16_t at(const uint16_t* p, int x, int y) const { return p[y * BINNED_WIDTH + x]; }
    int ox = 0, oy = 0, mx = 0, my = 0, omax = 0, first = 1;
    double oavg = 0;
};

TEST_F(StackingTest, TrackingAddsOnTheStarAndStopsOnAPeakOutOfRange)
{
    xcent = 200;   // the pick in full-frame coordinates: the binned image is measured at half
    ycent = 160;
    binned_frame(image_int, {{100, 80, 20000}});
    ASSERT_EQ(track(), 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(ox, 100);
    EXPECT_EQ(oy, 80);
    EXPECT_EQ(omax, 21000);
    // The next frame's star is 3.5 times as bright: the star is lost, the frame shows the sum.
    binned_frame(image_int, {{103, 82, 70000}});
    ASSERT_EQ(track(), 1);
    EXPECT_TRUE(std::equal(image_int, image_int + intlength, trial_int));
    EXPECT_EQ(at(image_int, 100, 80), 21000);
    // A frame with the star moved by (3, 2): the sum follows it to the new position.
    binned_frame(image_int, {{103, 82, 20000}});
    ASSERT_EQ(track(), 0);
    EXPECT_EQ(mx, 103);
    EXPECT_EQ(my, 82);
    EXPECT_EQ(ox, 103);
    EXPECT_EQ(at(image_int, 103, 82), 42000);
    EXPECT_EQ(at(image_int, 50, 50), 2000);
    EXPECT_TRUE(std::equal(image_int, image_int + intlength, trial_int));
}

TEST_F(StackingTest, TrackingAverages)
{
    slew_sum_average = 1;
    xcent = 200;
    ycent = 160;
    binned_frame(image_int, {{100, 80, 20000}});
    ASSERT_EQ(track(), 0);
    EXPECT_EQ(at(trial_int, 100, 80), 10500);
    binned_frame(image_int, {{101, 80, 20000}});
    ASSERT_EQ(track(), 0);
    EXPECT_EQ(at(image_int, 101, 80), 21000);
    EXPECT_EQ(at(image_int, 10, 10), 1000);
}

TEST_F(StackingTest, TrackingWithoutAPickedStarSumsTheFramesAsTheyAre)
{
    picked_star = 0;
    binned_frame(image_int, {{100, 80, 20000}});
    ASSERT_EQ(track(), 0);
    binned_frame(image_int, {{110, 90, 20000}});
    ASSERT_EQ(track(), 0);
    EXPECT_EQ(at(image_int, 100, 80), 21000 + 1000);
    EXPECT_EQ(at(image_int, 110, 90), 1000 + 21000);
    EXPECT_EQ(transcript(), "");   // nothing measured, no boxes
}

TEST_F(StackingTest, SlewMethodFindsNoStarInAFlatFrame)
{
    binned_frame(image_int, {});
    EXPECT_EQ(slew(), 2);
    EXPECT_EQ(my, 30);
}

TEST_F(StackingTest, SlewMethodAlignsOnTheBoxProfilesFromADarkSubtractedStart)
{
    // Dark-subtracted: the first 10000 samples are 0, so the mean is 0; the first-frame flag,
    // not the mean, says the sum has started.
    const std::vector<Star> field = {{230, 130, 20000}, {260, 170, 12000}, {280, 120, 8000}};
    binned_frame(image_int, field);
    std::fill(image_int, image_int + 10000, 0);
    ASSERT_EQ(slew(), 0);
    EXPECT_EQ(oavg, 0.0);
    EXPECT_EQ(my, 0);
    EXPECT_EQ(first, 0);
    // The field moved by (2, 3).
    std::vector<Star> moved = field;
    for (Star& s : moved) {
        s.x += 2;
        s.y += 3;
    }
    binned_frame(image_int, moved);
    ASSERT_EQ(slew(), 0);
    EXPECT_EQ(ox, 2);
    EXPECT_EQ(oy, 3);
    // The sum stays where the first frame had the star.
    EXPECT_EQ(at(image_int, 230, 130), 21000 + 21000);
    EXPECT_TRUE(std::equal(image_int, image_int + intlength, trial_int));
    // Moved again by (1, -1): the total shift is measured against the first frame.
    for (Star& s : moved) {
        s.x += 1;
        s.y -= 1;
    }
    binned_frame(image_int, moved);
    ASSERT_EQ(slew(), 0);
    EXPECT_EQ(ox, 3);
    EXPECT_EQ(oy, 2);
    EXPECT_EQ(at(image_int, 230, 130), 63000);
    // The stars are gone from the box: no star signal, the frame shows the sum.
    binned_frame(image_int, {});
    EXPECT_EQ(slew(), 1);
    EXPECT_EQ(at(image_int, 230, 130), 63000);
}
}
