#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/planes.h"
#include "support/fixture.h"
#include "unit/camera/fake_usb.h"

class ReadoutTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        services().usb = &usb;
        usb.one_camera();
        usb_hid().CollectingUSBHidInfo();
    }
    // A block whose samples encode their line and sample number.
    void pattern_block(int lines, int samples)
    {
        usb.next_block.resize(static_cast<size_t>(lines) * samples * 2);
        for (int l = 0; l < lines; ++l)
            for (int s = 0; s < samples; ++s) {
                const uint16_t v = static_cast<uint16_t>(l * 1000 + s);
                const size_t at = (static_cast<size_t>(l) * samples + s) * 2;
                usb.next_block[at] = v & 0xff;
                usb.next_block[at + 1] = v >> 8;
            }
    }
    std::vector<uint8_t> last() const { return usb.reports.back(); }
    // The command bytes (after the report identifier) of every report sent.
    std::vector<std::vector<uint8_t>> commands() const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& r : usb.reports)
            out.emplace_back(r.begin() + 1, r.end());
        return out;
    }
    FakeUsb usb;
};

using Packet = std::vector<uint8_t>;

// The sample pattern_block puts at line L, sample S.
uint16_t code(int l, int s) { return static_cast<uint16_t>(l * 1000 + s); }

TEST_F(ReadoutTest, ControlCommandsAndExposureBytes)
{
    ZR_wiper();
    ZR_clearvert();
    ZR_reader();
    ZR_reader2();
    ZR_reader3();
    const std::vector<Packet> expected = {{2, 1, 0, 0, 0, 0, 0, 0}, {2, 2, 0, 0, 0, 0, 0, 0}, {2, 3, 0, 0, 0, 0, 0, 0},
                                          {2, 4, 0, 0, 0, 0, 0, 0}, {2, 5, 0, 0, 0, 0, 0, 0}};
    EXPECT_EQ(commands(), expected);
    for (auto [ms, low, high] : {std::tuple{255, 255, 0}, {256, 0, 1}, {499, 243, 1}, {500, 0, 0}, {60000, 0, 0}}) {
        exposure = ms;
        usb.next_block.assign(BINNED_BLOCK_BYTES, 0);
        ZR_binned_read();
        EXPECT_EQ(last(), (Packet{0, 4, static_cast<uint8_t>(low), static_cast<uint8_t>(high), 0, 0, 0, 0, 0})) << ms;
    }
}

TEST_F(ReadoutTest, WindowBytesAtTheDefaultAndTheFrameLimits)
{
    struct Case { int fx, fy; uint8_t b3, b4, b5, b6; };
    const Case cases[] = {{312, 65, 74, 161, 112, 138}, {0, 0, 9, 226, 8, 242}, {624, 162, 171, 64, 216, 34},
                          {1, 1, 10, 225, 8, 242}, {2, 0, 9, 226, 8, 242}};
    for (const Case& c : cases) {
        focus_x = c.fx;
        focus_y = c.fy;
        exposure = 100;
        usb.next_block.assign(WINDOW_BLOCK_BYTES, 0);
        ZR_focus_read();
        EXPECT_EQ(last(), (Packet{0, 4, 100, 0, c.b3, c.b4, c.b5, c.b6, 1})) << c.fx << "," << c.fy;
        EXPECT_EQ((c.b3 + c.b4) % 256, 235);
        EXPECT_EQ(c.b5 + c.b6, 250);
    }
    EXPECT_EQ(usb.block_reads.back(), static_cast<uint32_t>(WINDOW_BLOCK_BYTES));
}

TEST_F(ReadoutTest, BlockCopiesLandInTheirRows)
{
    pattern_block(298, 416);
    ZR_binned_read();
    EXPECT_EQ(usb.block_reads.back(), static_cast<uint32_t>(BINNED_BLOCK_BYTES));
    EXPECT_EQ(image_int[0], code(6, 14));
    EXPECT_EQ(image_int[375], code(6, 14 + 375));
    EXPECT_EQ(image_int[289 * 376 + 5], code(295, 19));

    pattern_block(298, 832);
    std::fill(image_int, image_int + PLANE_SAMPLES, 7);
    ZR_first_read();
    EXPECT_EQ(usb.block_reads.back(), static_cast<uint32_t>(FIELD_BLOCK_BYTES));
    EXPECT_EQ(last()[8], 2);
    EXPECT_EQ(image_int[0], code(8, 26));
    EXPECT_EQ(image_int[752], 7);                                   // odd rows untouched
    EXPECT_EQ(image_int[578 * 752 + 751], code(297, 26 + 751));
    EXPECT_EQ(image_int[579 * 752], 7);

    std::fill(image_int, image_int + PLANE_SAMPLES, 7);
    interlaced_line = 1;
    ZR_first_read();
    EXPECT_EQ(image_int[0], 7);                                     // row 0 untouched
    EXPECT_EQ(image_int[752], code(8, 26));
    EXPECT_EQ(image_int[579 * 752 + 3], code(297, 29));           // row 579 filled

    pattern_block(128, 128);
    ZR_guide_read();
    EXPECT_EQ(last()[8], 1);
    EXPECT_EQ(image_int[0], 0);
    EXPECT_EQ(image_int[127 * 128 + 127], code(127, 127));
}

TEST_F(ReadoutTest, DownloadTimeIsMeasuredOnceOnALongExposure)
{
    struct SlowBlocks : FakeUsb {
        bool read_block(UsbHandle h, uint8_t* d, uint32_t n, uint32_t& r, int t) override
        {
            services().clock->spend(2345);
            return FakeUsb::read_block(h, d, n, r, t);
        }
    } slow;
    slow.one_camera();
    services().usb = &slow;
    usb_hid().CollectingUSBHidInfo();
    slow.next_block.assign(FIELD_BLOCK_BYTES, 0);
    exposure = 500;
    ZR_first_read();
    EXPECT_EQ(download_time, 3000);
    exposure = 501;
    ZR_first_read();
    EXPECT_NEAR(download_time, 2345, 2);
    const int measured = download_time;
    ZR_first_read();
    EXPECT_EQ(download_time, measured);
}

TEST_F(ReadoutTest, HostTimedExposureWaitsAndClearsOnlyAboveItsThresholds)
{
    struct Case { int ms; bool waits; bool clears; };
    for (const Case c : {Case{499, false, false}, Case{500, true, false}, Case{600, true, false}, Case{601, true, true}}) {
        usb.reports.clear();
        const int64_t start = services().clock->ticks();
        host_timed_exposure(c.ms);
        const int64_t spent = services().clock->ticks() - start;
        EXPECT_EQ(spent >= c.ms, c.waits) << c.ms;
        EXPECT_EQ(!usb.reports.empty(), c.clears) << c.ms;
        for (const auto& r : usb.reports)
            EXPECT_EQ(r[2], 2);
    }
}

TEST_F(ReadoutTest, GuideFramesFollowTheirCommandSequences)
{
    usb.next_block.assign(WINDOW_BLOCK_BYTES, 0);
    exp_range = 't';
    exp_value = 4;
    ZR_camera_guide();
    EXPECT_EQ(exposure, 400);
    const std::vector<Packet> guide = {{2, 2, 0, 0, 0, 0, 0, 0}, {2, 1, 0, 0, 0, 0, 0, 0}, {2, 3, 0, 0, 0, 0, 0, 0},
                                       {4, 144, 1, 74, 161, 112, 138, 1}};
    EXPECT_EQ(commands(), guide);

    exp_range = 'm';      // minutes count as seconds for a guide frame
    exp_value = 2;
    ZR_camera_guide();
    EXPECT_EQ(exposure, 2000);

    // Self-guiding: no wipe, the guide exposure timed by the program, the main exposure's bytes.
    usb.reports.clear();
    exposure = 60000;
    selfguiding_exposure = 200;
    ZR_camera_selfguide();
    const std::vector<Packet> self = {{2, 2, 0, 0, 0, 0, 0, 0}, {2, 4, 0, 0, 0, 0, 0, 0}, {4, 0, 0, 74, 161, 112, 138, 1}};
    EXPECT_EQ(commands(), self);
    usb.reports.clear();
    switched_frame = 1;
    ZR_camera_selfguide();
    EXPECT_EQ(commands()[1], (Packet{2, 5, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ReadoutTest, PeakIgnoresASampleWhoseUpperNeighbourIsDark)
{
    std::vector<uint16_t> w(SUBFRAME_SAMPLES, 100);
    w[50 * 128 + 60] = 60000;            // hot sample, dark above
    w[80 * 128 + 30] = 20000;            // a star: bright above and below
    w[79 * 128 + 30] = 20000;
    w[5 * 128 + 60] = 65000;             // outside the measured rows
    w[30 * 128 + 126] = 65000;           // outside the measured columns
    w[29 * 128 + 126] = 65000;
    EXPECT_EQ(window_peak(w.data()), 5000);
    // The upper neighbour need only beat the running maximum when it is visited.
    w[90 * 128 + 40] = 30000;
    w[89 * 128 + 40] = 21000;
    EXPECT_EQ(window_peak(w.data()), 7500);
}

TEST_F(ReadoutTest, FocusStretchFactors)
{
    struct Case { int stretch; uint16_t in, out; };
    const Case cases[] = {{12, 4096, 65535}, {12, 4095, 65520}, {13, 9000, 65535}, {13, 8000, 64000},
                          {10, 1365, 65520}, {10, 1366, 65535}, {11, 100, 3200},   {14, 100, 400},
                          {15, 100, 200},    {16, 4096, 4096}};
    for (const Case& c : cases) {
        focus_stretch = c.stretch;
        std::vector<uint16_t> w(SUBFRAME_SAMPLES, c.in);
        stretch_window(w.data());
        EXPECT_EQ(w[SUBFRAME_SAMPLES - 1], c.out) << c.stretch << " " << c.in;
    }
    focus_stretch = 12;
    max_stretch = 1;
    std::vector<uint16_t> w(SUBFRAME_SAMPLES, 100);
    stretch_window(w.data());
    EXPECT_EQ(w[0], 100);
}

TEST_F(ReadoutTest, FocusFrameMeasuresBeforeItStretches)
{
    usb.next_block.assign(WINDOW_BLOCK_BYTES, 0);
    for (int i = 0; i < SUBFRAME_SAMPLES; ++i) {
        const uint16_t v = static_cast<uint16_t>(i * 2);      // rises to the last sample
        usb.next_block[2 * i] = v & 0xff;
        usb.next_block[2 * i + 1] = v >> 8;
    }
    exp_range = 'h';
    exp_value = 3;
    focus_stretch = 15;
    const uint16_t peak = ZR_camera_read();
    EXPECT_EQ(exposure, 30);
    std::vector<uint16_t> raw(SUBFRAME_SAMPLES);
    std::memcpy(raw.data(), usb.next_block.data(), WINDOW_BLOCK_BYTES);
    EXPECT_EQ(peak, window_peak(raw.data()));
    EXPECT_GT(peak, 7900);
    EXPECT_EQ(image_int[1], 4);
    EXPECT_EQ(commands()[2], (Packet{2, 3, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ReadoutTest, FillBinnedInterpolatesOddRowsButNotTheLast)
{
    for (int y = 0; y < 580; ++y)
        for (int x = 0; x < 752; ++x)
            image_int[y * 752 + x] = static_cast<uint16_t>(y % 2 ? 9 : y * 10 + x % 3);
    fill_binned(image_int);
    EXPECT_EQ(image_int[752 + 1], (1 + 21) / 2);
    EXPECT_EQ(image_int[752 + 2], (2 + 22) / 2);
    EXPECT_EQ(image_int[577 * 752], (5760 + 5780) / 2);
    EXPECT_EQ(image_int[579 * 752 + 7], 9);
    EXPECT_EQ(image_int[2 * 752], 20);
}

TEST_F(ReadoutTest, VariationBiasComesFromRowZero)
{
    std::fill(image_int, image_int + 752, 5000);
    EXPECT_EQ(variation_bias(image_int), 0);
    std::fill(image_int, image_int + 752, 1000);
    EXPECT_EQ(variation_bias(image_int), 800);
    image_int[0] = 65000;                 // column 0 does not count
    image_int[1] = 9000;                  // samples of 4000 or more do not count
    EXPECT_EQ(variation_bias(image_int), 800);
}

// A two-field image: even rows at LEVEL (a gradient across the frame), odd rows at RATIO of it.
void two_fields(uint16_t* p, int bias, double ratio)
{
    for (int y = 0; y < 580; ++y)
        for (int x = 0; x < 752; ++x) {
            const double level = 8000 + 30 * x + (y % 7) * 3;
            p[y * 752 + x] = static_cast<uint16_t>(bias + (y % 2 ? ratio : 1.0) * level);
        }
    for (int x = 0; x < 752; ++x)
        p[x] = static_cast<uint16_t>(bias / 0.8);
}

TEST_F(ReadoutTest, FieldEqualisationLiftsTheOddFieldAndNothingElse)
{
    two_fields(image_int, 400, 0.95);
    std::vector<uint16_t> before(image_int, image_int + 580 * 752);
    correct_variation(image_int);
    int changed_outside = 0;
    double worst = 0;
    for (int y = 0; y < 580; ++y)
        for (int x = 0; x < 752; ++x) {
            const int i = y * 752 + x;
            const bool may_change = y % 2 == 1 && y >= 3 && y <= 575 && x >= 1;
            if (!may_change)
                changed_outside += image_int[i] != before[i];
            else {
                const double mean = (before[i - 752] + before[i + 752]) / 2.0 - 400;
                worst = std::max(worst, std::abs((image_int[i] - 400) / mean - 1));
            }
        }
    EXPECT_EQ(changed_outside, 0);
    EXPECT_LT(worst, 0.01);
}

TEST_F(ReadoutTest, FieldEqualisationNeedsBandsToFit)
{
    // Levels too low for the statistics: nothing qualifies, nothing changes.
    for (int i = 0; i < 580 * 752; ++i)
        image_int[i] = static_cast<uint16_t>(500 + (i / 752 % 2) * 10);
    std::vector<uint16_t> before(image_int, image_int + 580 * 752);
    correct_variation(image_int);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), image_int));
    // Middle samples far below the bias fall into the lowest band instead of outside the table.
    two_fields(image_int, 3000, 0.95);
    for (int x = 10; x < 740; ++x)
        image_int[7 * 752 + x] = 0;
    correct_variation(image_int);
    EXPECT_EQ(image_int[7 * 752 + 20], 3000);     // raised to the bias (row 0 at 3750 x 0.8)
    EXPECT_NEAR(image_int[9 * 752 + 20], 3000 + 8000 + 30 * 20 + 2 * 3, 80);
}
