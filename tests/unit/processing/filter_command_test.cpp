// The Filters menu: the worked values of each filter, the header rows, undo, history lines,
// Cancel, the progress window and the two dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "processing/filter_kernels.h"
#include "processing/filters.h"
#include "processing/progress_dialog.h"
#include "processing/stretch.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
constexpr int W = BINNED_WIDTH, H = BINNED_HEIGHT;

std::vector<uint16_t> flat(uint16_t v) { return std::vector<uint16_t>(W * H + 4, v); }
uint16_t& at(std::vector<uint16_t>& p, int y, int x) { return p[y * W + x]; }
}

TEST(FilterValues, ConvolutionWorkedValues)
{
    // High Pass High Power on one pixel of 1000 on black: 25000, its 24 neighbours clamp to 0.
    auto image = flat(0);
    at(image, 100, 100) = 1000;
    auto out = image;
    convolve_rows(image.data(), out.data(), W, 2, H - 2, 2, 3, 1);
    EXPECT_EQ(at(out, 100, 100), 25000);
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (dy || dx) {
                EXPECT_EQ(at(out, 100 + dy, 100 + dx), 0) << dy << " " << dx;
            }

    // The clamp is not continuous: 65281 becomes 65535, 65280 stays.
    image = flat(0);
    at(image, 50, 50) = 13057;                // 5 x 13057 - 4 = 65281
    at(image, 49, 50) = at(image, 51, 50) = at(image, 50, 49) = at(image, 50, 51) = 1;
    at(image, 80, 80) = 13057;                // 5 x 13057 - 5 = 65280
    at(image, 79, 80) = at(image, 81, 80) = at(image, 80, 79) = 1;
    at(image, 80, 81) = 2;
    out = image;
    convolve_rows(image.data(), out.data(), W, 1, H - 1, 1, 2, 1);
    EXPECT_EQ(at(out, 50, 50), 65535);
    EXPECT_EQ(at(out, 80, 80), 65280);

    // A flat image comes back unchanged through every kernel, borders included.
    struct Case { int rad, masknum, divisor; };
    for (const Case c : {Case{1, 2, 1}, Case{2, 3, 1}, Case{2, 4, 1}, Case{2, 1, 80}, Case{1, 0, 16}, Case{2, 5, 1}}) {
        for (uint16_t v : {uint16_t(0), uint16_t(777), uint16_t(65280)}) {
            const auto f = flat(v);
            auto r = f;
            convolve_rows(f.data(), r.data(), W, c.rad, H - c.rad, c.rad, c.masknum, c.divisor);
            EXPECT_EQ(r, f) << c.masknum << " " << v;
        }
    }
}

TEST(FilterValues, UnsharpWorkedValues)
{
    // An isolated pixel 900 above a background of 1000: mean 1100, result 1000 + 900 + 800.
    auto image = flat(1000);
    at(image, 40, 40) = 1900;
    auto out = image;
    unsharp_row(image.data(), out.data(), W, 40, 1, 1);
    EXPECT_EQ(at(out, 40, 40), 2700);
    // The dark halo beside a bright pixel goes to 0, not round to white.
    image = flat(1000);
    at(image, 40, 41) = 60000;
    out = image;
    unsharp_row(image.data(), out.data(), W, 40, 1, 7);
    EXPECT_EQ(at(out, 40, 40), 0);
    EXPECT_EQ(at(out, 40, 41), 65535);
    // The last column of the box slide is width1 - r - 2.
    image = flat(1000);
    at(image, 40, W - 3) = 2000;
    at(image, 40, W - 2) = 2000;
    out = image;
    unsharp_row(image.data(), out.data(), W, 40, 1, 1);
    EXPECT_NE(at(out, 40, W - 3), 2000);
    EXPECT_EQ(at(out, 40, W - 2), 2000);
}

TEST(FilterValues, MedianWorkedValues)
{
    // Power 1.0 changes nothing; power 0.1 replaces a hot pixel by its neighbourhood.
    auto image = flat(3000);
    at(image, 60, 60) = 50000;
    for (int r : {1, 2, 3}) {
        auto out = image;
        median_rows(image.data(), out.data(), W, H, 0, r, static_cast<float>(10 * 0.1));
        EXPECT_EQ(out, image) << r;
        out = image;
        median_rows(image.data(), out.data(), W, H, 0, r, static_cast<float>(1 * 0.1));
        EXPECT_EQ(at(out, 60, 60), 3000) << r;
    }
    // Above 65000 the minimum is capped: range 500, threshold 450 at power 0.9, so a pixel 400
    // from the median stays (the true range 400 would have replaced it).
    image = flat(65100);
    at(image, 60, 60) = 65500;
    auto out = image;
    median_rows(image.data(), out.data(), W, H, 0, 1, static_cast<float>(9 * 0.1));
    EXPECT_EQ(at(out, 60, 60), 65500);
    out = image;
    median_rows(image.data(), out.data(), W, H, 0, 1, static_cast<float>(7 * 0.1));
    EXPECT_EQ(at(out, 60, 60), 65100);
}

TEST(FilterValues, GradientOnFlatImages)
{
    for (uint16_t v : {uint16_t(16), uint16_t(5000)}) {
        auto image = flat(v);
        gradient_core(image.data(), W, H, 0, true);
        EXPECT_EQ(image, flat(v)) << v;
    }
    // Below 16 the top patches peak at 0 and the bottom ones at 1: the lower rows drop by up to 16.
    auto image = flat(10);
    gradient_core(image.data(), W, H, 0, true);
    for (int y : {0, 100, 181, 182, 200, 289}) {
        const double v = 16.0 * y / H;
        const int want = 10 > v ? 10 - static_cast<int>(v) : 0;
        EXPECT_EQ(at(image, y, 5), want) << y;
        EXPECT_EQ(at(image, y, W - 1), want) << y;
    }
}

class FilterCommandTest : public ProgramTest {
protected:
    void fill_random(unsigned seed)
    {
        uint32_t x = seed;
        for (int i = 0; i < PLANE_SAMPLES; ++i) {
            x = x * 1664525u + 1013904223u;
            image_int[i] = static_cast<uint16_t>(x >> 16);
        }
    }
    std::vector<uint16_t> plane(const uint16_t* p) const { return {p, p + PLANE_SAMPLES}; }
};

TEST_F(FilterCommandTest, VerticalSmoothingAlternates)
{
    for (int y = 0; y < height1; ++y)
        for (int x = 0; x < width1; ++x)
            image_int[y * width1 + x] = static_cast<uint16_t>(x == width1 - 1 ? 7 : 2 * y);
    run_script("command 27\n");
    EXPECT_EQ(image_int[0 * width1 + 3], 1);
    EXPECT_EQ(image_int[100 * width1 + 3], 201);
    EXPECT_EQ(image_int[(height1 - 1) * width1 + 3], 2 * (height1 - 1));   // last row kept
    run_script("command 27\n");
    EXPECT_EQ(image_int[0 * width1 + 3], 1);                                // row st kept
    EXPECT_EQ(image_int[100 * width1 + 3], 200);
    EXPECT_EQ(image_int[(height1 - 1) * width1 + 3], 2 * height1 - 3);
    for (int y = 0; y < height1; ++y)
        ASSERT_EQ(image_int[y * width1 + width1 - 1], 7);                  // last column never changes
    EXPECT_EQ(process_info[0], "Vertical Smoothing Filter");
    EXPECT_EQ(process_info[1], "Vertical Smoothing Filter");
}

TEST_F(FilterCommandTest, EveryFilterKeepsHeaderRowsRecordsHistoryAndUndoes)
{
    struct Case { const char* script; const char* history; };
    const Case cases[] = {
        {"command 106\npress 1\n", "Unsharp Mask : rad 3 ,power 1"},
        {"command 107\n", "High Pass Low Power Filter"},
        {"command 108\n", "High Pass High Power Filter"},
        {"command 109\n", "Smoother/Sharper Filter"},
        {"command 3\npress 1\n", "Median Filter : rad 1 ,power 0.6"},
        {"command 4\n", "Gaussian Filter"},
        {"command 5\n", "Lowpass Smoother Filter"},
        {"command 7\n", "Bas Relief Filter"},
        {"command 18\n", "Gradient Filter"},
        {"command 27\n", "Vertical Smoothing Filter"},
    };
    for (int full : {0, 1}) {
        binned = full ? 0 : 1;
        QV_binned();
        for (const Case& c : cases) {
            fill_random(17);
            image_int[4] = 30;
            image_int[5] = 4;          // header-marked
            history_clear();
            const auto before = plane(image_int);
            run_script(c.script);
            EXPECT_EQ(process_info[0], c.history) << full;
            EXPECT_TRUE(std::equal(before.begin(), before.begin() + width1_10, image_int)) << c.history;
            EXPECT_FALSE(std::equal(before.begin(), before.end(), image_int)) << c.history;
            run_script("command 9\n");
            EXPECT_EQ(plane(image_int), before) << c.history;
            EXPECT_TRUE(process_info[0].empty()) << c.history;
        }
    }
}

TEST_F(FilterCommandTest, CommandsMatchTheReferenceThroughTheWholePath)
{
    // The median through its command: the trial plane holds the result afterwards too.
    fill_random(23);
    const auto before = plane(image_int);
    run_script("command 3\nscroll 103 linedown\nscroll 104 lineup\npress 1\n");
    EXPECT_EQ(process_info[0], "Median Filter : rad 2 ,power 0.5");
    std::vector<uint16_t> want = before;
    median_rows(before.data(), want.data(), width1, height1, 0, 2, static_cast<float>(5 * 0.1));
    want.resize(intlength);
    EXPECT_EQ(std::vector<uint16_t>(image_int, image_int + intlength), want);
    EXPECT_EQ(std::vector<uint16_t>(trial_int, trial_int + intlength), want);
    EXPECT_EQ(std::vector<uint16_t>(undo_int, undo_int + intlength), std::vector<uint16_t>(before.begin(), before.begin() + intlength));
}

TEST_F(FilterCommandTest, CancelLeavesEverythingAndDialogBounds)
{
    fill_random(29);
    std::memcpy(undo_int, save_int, sizeof undo_int);
    const auto image_before = plane(image_int), undo_before = plane(undo_int);
    std::string script = "command 106\nshow 103\nshow 104\n";
    for (int k = 0; k < 9; ++k) script += "scroll 101 linedown\nscroll 102 linedown\n";
    script += "show 103\nshow 104\nscroll 101 pagedown\nscroll 101 thumbposition 2\nshow 103\n";
    for (int k = 0; k < 9; ++k) script += "scroll 101 lineup\nscroll 102 lineup\n";
    script += "show 103\nshow 104\npress 9\npress 2\n";
    script += "command 3\nshow 101\nshow 102\n";
    for (int k = 0; k < 5; ++k) script += "scroll 103 linedown\nscroll 104 linedown\n";
    script += "show 101\nshow 102\n";
    for (int k = 0; k < 12; ++k) script += "scroll 103 lineup\nscroll 104 lineup\n";
    script += "show 101\nshow 102\nscroll 104 linedown\nshow 102\npress 9\nclose\n";
    run_script(script);
    const std::string out = transcript();
    const char* expected =
        "open 1 \"Unsharp Mask Filter\"\nfield 103 \"3\"\nfield 104 \"1\"\nfield 103 \"7\"\nfield 104 \"7\"\n"
        "field 103 \"7\"\nfield 103 \"1\"\nfield 104 \"1\"\n"
        "message \"Skyvane\" \"Use controls to vary the radius from 1 to 7, and the power from 1 to 7.\"\n"
        "close 1 2\n"
        "open 4 \"Median Filter\"\nfield 101 \"1\"\nfield 102 \".6\"\nfield 101 \"3\"\nfield 102 \"1.0\"\n"
        "field 101 \"1\"\nfield 102 \"0.1\"\nfield 102 \"0.2\"\n"
        "message \"Skyvane - Median Filter\" \"Use controls to vary the radius from 1 to 3, and the power from 0.1 "
        "to 1.\"\nclose 4 2\n";
    EXPECT_NE(out.find(expected), std::string::npos) << out;
    EXPECT_EQ(plane(image_int), image_before);
    EXPECT_EQ(plane(undo_int), undo_before);
    for (int k = 0; k < HISTORY_USED; ++k)
        EXPECT_TRUE(process_info[k].empty());
}

TEST_F(FilterCommandTest, ProgressWindowOfTheConvolutionAndTheUnsharpMask)
{
    run_script("command 4\ncommand 106\npress 1\n");
    const std::string out = transcript();
    EXPECT_NE(out.find("open 6 \"FILTER PROGRESS\"\nclose 6 2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("open 6 \"UNSHARP MASK PROGRESS\"\nclose 6 2\n"), std::string::npos) << out;
    // The unsharp mask counts from 0, one step for each of the 284 rows it filters at radius 3.
    EXPECT_EQ(progress, 284);
}

TEST(ProgressWindow, BarIsClampedAndCaptionFollowsTheFlag)
{
    TProgressDialog window;
    window.SetupWindow();
    EXPECT_EQ(window.control(TProgressDialog::BAR)->max, 256);
    for (auto [value, shown] : {std::pair{-5, 0}, std::pair{0, 0}, std::pair{128, 128}, std::pair{256, 256},
                                std::pair{300, 256}}) {
        progress = value;
        window.ProgressUpdate();
        EXPECT_EQ(window.GetScrollPos(TProgressDialog::BAR), shown) << value;
    }
    set_progress_caption("EXPOSURE DELAY (Left - 10) and a much longer tail");
    EXPECT_EQ(progress_caption.size(), 29u);
    window.ProgressUpdate();
    EXPECT_NE(window.caption(), progress_caption);
    changecaption = 1;
    window.ProgressUpdate();
    EXPECT_EQ(window.caption(), progress_caption);
    EXPECT_EQ(changecaption, 0);
    reset_progress_state();
}
