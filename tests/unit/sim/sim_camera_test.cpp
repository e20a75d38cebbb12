#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "platform/services.h"
#include "sim/sim_camera.h"
#include "sim/sim_config.h"
#include "store/flags.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
// A sky that moves at a constant rate and sits at a set focus position.
struct MovingSky : SkyMotion {
    double vx = 0, vy = 0;        // pixels and field rows per second
    double focus = 0;
    double clear = 1;
    SkyOffset offset_at(int64_t t) override { return {vx * t / 1e6, vy * t / 1e6}; }
    double focus_position(int64_t) override { return focus; }
    double transparency(int64_t) override { return clear; }
};

double mean_of(const uint16_t* p, int count, int stride = 1)
{
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += p[i * stride];
    return sum / count;
}

// Mean of the even and of the odd rows of a 752 x 580 image, away from the edges.
std::pair<double, double> field_means(const uint16_t* p)
{
    double even = 0, odd = 0;
    int n = 0;
    for (int y = 20; y < 560; y += 2) {
        for (int x = 20; x < 732; ++x) {
            even += p[y * 752 + x];
            odd += p[(y + 1) * 752 + x];
        }
        n += 712;
    }
    return {even / n, odd / n};
}
}

class SimCameraTest : public ProgramTest {
protected:
    // A camera on this test's clock with the given settings over the defaults.
    SimCamera& camera(const std::string& settings = "", uint64_t seed = 7)
    {
        SimConfig config;
        std::string error;
        EXPECT_TRUE(config.parse(settings, error)) << error;
        cam_ = std::make_unique<SimCamera>(config, *clock_, sky_, seed);
        services().usb = cam_.get();
        usb_hid().CollectingUSBHidInfo();
        EXPECT_EQ(got_zr, 1);
        return *cam_;
    }
    // Wipe, a host-timed wait, the single-field read in binned mode.
    void binned_frame(int ms)
    {
        exposure = ms;
        ZR_clearvert();
        ZR_wiper();
        host_timed_exposure(ms);
        ZR_reader();
        ZR_binned_read();
    }
    std::shared_ptr<MovingSky> sky_ = std::make_shared<MovingSky>();
    std::unique_ptr<SimCamera> cam_;
};

TEST_F(SimCameraTest, SignalGrowsInProportionToTheExposure)
{
    SimCamera& cam = camera();
    const double bias = cam.sky_field().params().bias;
    binned_frame(2000);
    const double two = mean_of(image_int, 376 * 290) - bias;
    binned_frame(8000);
    const double eight = mean_of(image_int, 376 * 290) - bias;
    EXPECT_GT(two, 50);
    EXPECT_NEAR(eight / two, 4.0, 0.08);
    EXPECT_EQ(cam.last_delivery().field, 0);
    EXPECT_NEAR((cam.last_delivery().t1_us - cam.last_delivery().t0_us) / 1000.0, 8000, 20);
}

TEST_F(SimCameraTest, SameSeedSameFramesOtherSeedOtherStars)
{
    camera("", 11);
    binned_frame(3000);
    std::vector<uint16_t> first(image_int, image_int + 376 * 290);
    const int64_t t = clock_->now_us();
    camera("", 11);
    clock_->advance_to_us(t + 5000000);
    binned_frame(3000);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), image_int));
    camera("", 12);
    binned_frame(3000);
    EXPECT_FALSE(std::equal(first.begin(), first.end(), image_int));
}

TEST_F(SimCameraTest, InterlacedSequencesGiveTwoFieldsAtTheirGainAndTheEqualisationMatchesThem)
{
    // A twilight flat: bright, vignetted, no stars.
    camera("star_count = 0\nhot_pixel_fraction = 0\nsky_background = 2500\n");
    exposure = 6000;
    ZR_first_read();        // measures the download time the progressive restart relies on
    EXPECT_NEAR(download_time, 2932, 5);

    // Progressive: field O is restarted once a download time into the exposure.
    ZR_clearvert();
    ZR_wiper();
    Clock& clock = *clock_;
    const int64_t t0 = clock.ticks(), end = t0 + exposure, restart = t0 + download_time + download_time / 50;
    bool restarted = false;
    while (clock.ticks() < end) {
        if (!restarted && clock.ticks() > restart) {
            ZR_reader2();
            ZR_clearvert();
            restarted = true;
        }
        ZR_clearvert();
    }
    ZR_clearvert();
    ZR_reader3();
    interlaced_line = 0;
    ZR_first_read();
    ZR_reader2();
    interlaced_line = 1;
    ZR_first_read();
    auto [even, odd] = field_means(image_int);
    EXPECT_NEAR(odd / even, 0.95, 0.015);
    correct_variation(image_int);
    std::tie(even, odd) = field_means(image_int);
    EXPECT_NEAR(odd / even, 1.0, 0.01);

    // Two exposures: one field each.
    interlaced_line = 0;
    ZR_clearvert();
    ZR_wiper();
    host_timed_exposure(exposure);
    ZR_reader();
    ZR_first_read();
    ZR_wiper();
    ZR_clearvert();
    host_timed_exposure(exposure);
    ZR_clearvert();
    ZR_reader3();
    ZR_reader2();
    interlaced_line = 1;
    ZR_first_read();
    std::tie(even, odd) = field_means(image_int);
    EXPECT_NEAR(odd / even, 0.95, 0.006);
}

TEST_F(SimCameraTest, AStarLandsWhereTheGuideFramePredictsIt)
{
    SimCamera& cam = camera("star_count = 0\nhot_pixel_fraction = 0\n");
    focus_stretch = 16;
    // For stars at several columns and rows: the window placed as for guiding, the centroid
    // measured in the frame, compared with the star's true place and with the prediction.
    struct Case { double x, y; };
    for (const Case c : {Case{400.3, 300.6}, Case{401.0, 301.0}, Case{402.7, 322.2}, Case{40.4, 60.0},
                         Case{700.5, 520.0}}) {
        cam.sky_field().set_stars({{c.x, c.y, 20000}});
        const int fx = static_cast<int>(c.x + 0.5), fy = static_cast<int>(c.y + 0.5) / 2;
        focus_x = std::clamp(fx - 64, 0, 624);
        focus_y = std::clamp(fy - 64, 0, 162);
        const int predicted_x = fx - focus_x + focus_x % 2, predicted_y = fy - focus_y - focus_y % 10;
        exp_range = 's';
        exp_value = 1;
        ZR_camera_read();
        // Centroid over the background in a box around the brightest sample.
        int peak = 0;
        for (int i = 1; i < SUBFRAME_SAMPLES; ++i)
            if (image_int[i] > image_int[peak])
                peak = i;
        const double background = cam.sky_field().params().bias + 25;
        double sx = 0, sy = 0, sw = 0;
        for (int y = peak / 128 - 6; y <= peak / 128 + 6; ++y)
            for (int x = peak % 128 - 6; x <= peak % 128 + 6; ++x) {
                if (x < 0 || y < 0 || x > 127 || y > 127)
                    continue;
                const double w = std::max(0.0, image_int[y * 128 + x] - background);
                sx += w * x;
                sy += w * y;
                sw += w;
            }
        const double mx = sx / sw, my = sy / sw;
        const SimCamera::Delivery& d = cam.last_delivery();
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_NEAR(mx, c.x - d.col0, 0.2);
        EXPECT_NEAR(my, c.y / 2 - d.row0, 0.2);
        EXPECT_GE(std::lround(mx) - predicted_x, -1);
        EXPECT_LE(std::lround(mx) - predicted_x, 2);
        EXPECT_NEAR(my, predicted_y, 0.6);
    }
}

TEST_F(SimCameraTest, StarsFollowTheSkyAndBlurOutOfFocus)
{
    SimCamera& cam = camera("star_count = 0\nhot_pixel_fraction = 0\n");
    cam.sky_field().set_stars({{376, 290, 30000}});
    focus_stretch = 16;
    exp_range = 't';
    exp_value = 4;          // timed by the camera
    ZR_camera_read();
    const int still_peak = *std::max_element(image_int, image_int + SUBFRAME_SAMPLES);
    EXPECT_NEAR((cam.last_delivery().t1_us - cam.last_delivery().t0_us) / 1000.0, 400, 5);

    sky_->focus = 150;      // 6 px of defocus blur at the default 0.04 px per step
    ZR_camera_read();
    const int blurred_peak = *std::max_element(image_int, image_int + SUBFRAME_SAMPLES);
    EXPECT_LT(blurred_peak - 350, (still_peak - 350) / 3);

    sky_->focus = 0;
    sky_->vx = 10;          // the mount lets the sky run 10 px a second to the right
    const int64_t now = clock_->now_us();
    ZR_camera_read();
    const SimCamera::Delivery& d = cam.last_delivery();
    const double expected_x = 376 + 10 * (d.t0_us + d.t1_us) / 2e6 - d.col0;
    double sx = 0, sw = 0;
    for (int i = 0; i < SUBFRAME_SAMPLES; ++i) {
        const double w = std::max(0.0, image_int[i] - 400.0);
        sx += w * (i % 128);
        sw += w;
    }
    EXPECT_GT(d.t0_us, now - 1000);
    EXPECT_NEAR(sx / sw, expected_x, 0.3);
}

TEST_F(SimCameraTest, LensCapGivesDarkFramesWithoutStars)
{
    SimCamera& cam = camera("hot_pixel_fraction = 0\nstar_brightest = 2000000\n");
    const double bias = cam.sky_field().params().bias, dark = cam.sky_field().params().dark_current;
    binned_frame(10000);
    const uint16_t lit_max = *std::max_element(image_int, image_int + 376 * 290);
    cam.set_lens_cap(true);
    binned_frame(10000);
    const uint16_t dark_max = *std::max_element(image_int, image_int + 376 * 290);
    EXPECT_EQ(lit_max, 65535);
    sky_->clear = 0;        // a cloud hides stars and sky
    binned_frame(10000);
    EXPECT_NEAR(mean_of(image_int, 376 * 290), bias + 2 * dark * 10, 3);
    sky_->clear = 1;
    // Two summed pixels of dark current, plus noise: nothing that looks like a star.
    EXPECT_NEAR(mean_of(image_int, 376 * 290), bias + 2 * dark * 10, 3);
    EXPECT_LT(dark_max, bias + 2 * dark * 10 + 100);
}

TEST_F(SimCameraTest, HotPixelsGrowWithTheDarkExposure)
{
    SimCamera& cam = camera("lens_cap = 1\nhot_pixel_fraction = 0.001\n");
    binned_frame(1000);
    std::vector<uint16_t> short_dark(image_int, image_int + 376 * 290);
    binned_frame(20000);
    const int hottest = static_cast<int>(std::max_element(image_int, image_int + 376 * 290) - image_int);
    EXPECT_GT(image_int[hottest] - cam.sky_field().params().bias,
              10 * (short_dark[hottest] - cam.sky_field().params().bias));
}

TEST_F(SimCameraTest, RegisterCommandsChooseTheFieldAndEmptyRegistersGiveBias)
{
    SimCamera& cam = camera();
    exposure = 1000;
    ZR_clearvert();
    ZR_wiper();
    host_timed_exposure(1000);
    ZR_reader2();
    ZR_binned_read();
    EXPECT_EQ(cam.last_delivery().field, 1);
    ZR_clearvert();
    ZR_binned_read();                     // nothing in the register, no time: bias only
    EXPECT_EQ(cam.last_delivery().field, -1);
    EXPECT_NEAR(mean_of(image_int, 376 * 290), cam.sky_field().params().bias, 2);

    // Outside the data lines and below the field: bias.
    binned_frame(5000);
    const uint16_t* block = reinterpret_cast<const uint16_t*>(ReportBuffer);
    EXPECT_NEAR(mean_of(block, 416), cam.sky_field().params().bias, 3);
    focus_y = 162;                        // window rows 164 to 291: the last two are past the field
    exp_range = 's';
    exp_value = 5;
    focus_stretch = 16;
    ZR_camera_read();
    EXPECT_NEAR(mean_of(image_int + 127 * 128, 128), cam.sky_field().params().bias, 4);
    EXPECT_GT(mean_of(image_int + 100 * 128, 128), cam.sky_field().params().bias + 100);
}

TEST_F(SimCameraTest, TransfersTakeTheirTimeAndMalformedPacketsAreLogged)
{
    SimCamera& cam = camera();
    int64_t before = clock_->ticks();
    binned_frame(0);
    EXPECT_NEAR(clock_->ticks() - before, 1480 + 4, 3);
    EXPECT_TRUE(cam.log().empty());

    uint8_t bad[3] = {0, 2, 1};
    uint32_t written = 0;
    cam.write_report(HidHandle, bad, 3, written);
    camdata[3] = 1;       // window bytes that do not pair up
    camdata[7] = 1;
    ByteCount = WINDOW_BLOCK_BYTES;
    ReceiveBlock();
    ASSERT_EQ(cam.log().size(), 2u);
    EXPECT_THAT(cam.log()[0], testing::HasSubstr("report of 3 bytes"));
    EXPECT_THAT(cam.log()[1], testing::HasSubstr("do not pair up"));
    // A block read that nothing asked for waits out its time-out and is reported.
    ZR_clearvert();
    before = clock_->ticks();
    uint32_t got = 0;
    EXPECT_FALSE(cam.read_block(BlockIOHandle, ReportBuffer, 100, got, 10000));
    EXPECT_GE(clock_->ticks() - before, 10000);
}

TEST_F(SimCameraTest, OnAStarFieldTheEqualisationDoesNotDarkenTheOddField)
{
    // The band statistics of a star field come from star cores, whose odd rows are brighter than
    // their neighbours; the fitted line then says "odd field brighter", which must not be used
    // to darken the sky of the odd rows.
    camera();
    exposure = 30000;
    ZR_clearvert();
    ZR_wiper();
    host_timed_exposure(exposure);
    ZR_reader();
    ZR_first_read();
    ZR_wiper();
    ZR_clearvert();
    host_timed_exposure(exposure);
    ZR_clearvert();
    ZR_reader3();
    ZR_reader2();
    interlaced_line = 1;
    ZR_first_read();
    const auto [even, odd] = field_means(image_int);
    correct_variation(image_int);
    const auto [even_after, odd_after] = field_means(image_int);
    EXPECT_EQ(even_after, even);
    EXPECT_GE(odd_after, odd - 0.01);
    EXPECT_LE(odd_after, even);
}
