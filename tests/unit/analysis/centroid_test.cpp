#include <gtest/gtest.h>

#include "analysis_support.h"
#include "app/core/commands.h"
#include "display/histogram.h"
#include "files/settings_values.h"
#include "processing/star_centroid.h"
#include "store/flags.h"
#include "support/fixture.h"

using CentroidTest = ProgramTest;

namespace {
// A binned frame of BACKGROUND with one bright pixel.
void star_field(uint16_t background, int sx, int sy, uint16_t star)
{
    fill_plane(image_int, background);
    at(image_int, sx, sy) = star;
}
}

TEST_F(CentroidTest, SinglePixelGivesThatPixelInWholePixels)
{
    most_pop = 123;   // the display's background level is not the window's
    const int offsets[] = {-8, -5, -1, 0, 1, 2, 7, 8};
    for (int dx : offsets)
        for (int dy : offsets) {
            star_field(1000, 100 + dx, 80 + dy, 30000);
            CentreOutcome outcome;
            ASSERT_EQ(find_centre(100, 80, image_int, 8, &outcome), 0);
            ASSERT_EQ(outcome, CentreOutcome::Measured);
            EXPECT_EQ(xcent, 100 + dx) << dx << "," << dy;
            EXPECT_EQ(ycent, 80 + dy) << dx << "," << dy;
            EXPECT_EQ(xcentdec, 0);
            EXPECT_EQ(ycentdec, 0);
        }
    EXPECT_EQ(most_pop1, 1000 / 16);
    EXPECT_EQ(most_pop, 123);
}

TEST_F(CentroidTest, SinglePixelInTenthsLosesATenthFromColumnTwoOn)
{
    // Self-guiding measures in tenths on the full plane; the sums start at 1, which pulls a lone
    // pixel a little towards the window origin.
    selfguiding = 1;
    struct Case { int k; int whole; int tenths; };
    const Case cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 1, 9}, {9, 8, 9}, {16, 15, 9}};
    for (const Case& c : cases) {
        star_field(1000, 92 + c.k, 72 + c.k, 30000);
        ASSERT_EQ(find_centre(100, 80, image_int, 8), 0);
        EXPECT_EQ(xcent, 92 + c.whole) << c.k;
        EXPECT_EQ(xcentdec, c.tenths) << c.k;
        EXPECT_EQ(ycent, 72 + c.whole) << c.k;
        EXPECT_EQ(ycentdec, c.tenths) << c.k;
    }
    // With "Ignore drift < 1 pixel" the result is whole-pixel again.
    ignore_small = 1;
    star_field(1000, 92 + 9, 72 + 9, 30000);
    find_centre(100, 80, image_int, 8);
    EXPECT_EQ(xcent, 101);
    EXPECT_EQ(xcentdec, 0);
}

TEST_F(CentroidTest, FlatWindowsHaveNothingToCentreOnAndKeepThePreviousResult)
{
    selfguiding = 1;   // no message box for each level
    xcent = 7;
    ycent = 9;
    for (int level = 0; level <= 65000; level += 1) {
        for (int y = 72; y <= 88; ++y)
            std::fill(&at(image_int, 92, y), &at(image_int, 109, y), static_cast<uint16_t>(level));
        CentreOutcome outcome;
        ASSERT_EQ(find_centre(100, 80, image_int, 8, &outcome), 0) << level;
        ASSERT_EQ(outcome, CentreOutcome::NothingFound) << level;
    }
    EXPECT_EQ(xcent, 7);
    EXPECT_EQ(ycent, 9);

    selfguiding = 0;
    fill_plane(image_int, 5000);
    find_centre(100, 80, image_int, 8);
    EXPECT_NE(transcript().find("message \"SKYVANE  - Find Centre\" \"Sorry, Nothing found to centre on - exposure continuing\""),
              std::string::npos);
}

TEST_F(CentroidTest, ThresholdFactorSwitchesFrom1632To16AtBin4015)
{
    struct Case { uint16_t background; uint16_t star; CentreOutcome outcome; };
    const Case cases[] = {
        {64224, 65530, CentreOutcome::Measured},      // bin 4014: 16.32 x 4014 = 65508
        {64224, 65500, CentreOutcome::Failed},        // under that threshold and saturated
        {64256, 64400, CentreOutcome::Measured},      // bin 4016: 16 x 4016 = 64256
    };
    for (const Case& c : cases) {
        star_field(c.background, 103, 77, c.star);
        CentreOutcome outcome;
        find_centre(100, 80, image_int, 8, &outcome);
        EXPECT_EQ(outcome, c.outcome) << c.background << " " << c.star;
        if (c.outcome == CentreOutcome::Measured) {
            EXPECT_EQ(xcent, 103);
            EXPECT_EQ(ycent, 77);
        }
    }
}

TEST_F(CentroidTest, OverexposedWindowFails)
{
    // Background bin 3990 gives a threshold of 65116; a star of 65100 is under it but saturated.
    star_field(63840, 100, 80, 65100);
    CentreOutcome outcome;
    EXPECT_EQ(find_centre(100, 80, image_int, 8, &outcome), 1);
    EXPECT_EQ(outcome, CentreOutcome::Failed);
    EXPECT_NE(transcript().find("\"Sorry, Guide Area Overexposed, unable to find accurate centre\""), std::string::npos);
}

TEST_F(CentroidTest, WindowOutsideThePlaneOrTooLargeFails)
{
    fill_plane(image_int, 1000);
    struct Case { int x, y, rad, result; };
    const Case cases[] = {
        {8, 80, 8, 0}, {7, 80, 8, 1},          // left edge
        {367, 80, 8, 0}, {368, 80, 8, 1},      // right edge of 376
        {100, 281, 8, 0}, {100, 282, 8, 1},    // bottom edge of 290
        {100, 80, 15, 0}, {100, 80, 16, 1},    // radius limit of the work arrays
    };
    selfguiding = 1;
    for (const Case& c : cases)
        EXPECT_EQ(find_centre(c.x, c.y, image_int, c.rad), c.result) << c.x << "," << c.y << " r" << c.rad;
    EXPECT_NE(transcript().find("message \"Skyvane\" \"x =   368\\ny =    80\\nwidth =   376\\nheight =   290\"\n"
                                "message \"Skyvane  - Find Centre\" \"Find centre failed - outside image area\""),
              std::string::npos)
        << transcript();
}

TEST_F(CentroidTest, GuideFramesUseThe128SampleSubFrame)
{
    tracking = 1;
    fill_plane(image_int, 1000);
    image_int[40 * 128 + 50] = 30000;
    ASSERT_EQ(find_centre(52, 42, image_int, 8), 0);
    EXPECT_EQ(xcent, 50);
    EXPECT_EQ(ycent, 40);
    selfguiding = 1;
    EXPECT_EQ(find_centre(120, 42, image_int, 8), 1);   // 120 + 9 > 128
}

TEST_F(CentroidTest, GuideFramePlacementAtTheEdges)
{
    struct Case { int px, py, focus_x, focus_y, x, y; };
    const Case cases[] = {
        {700, 160, 624, 16, 76, 58},     // right edge; field row 80 -> frame row 64 - 16 % 10
        {30, 100, 0, 0, 30, 50},         // left and top edges
        {64, 128, 0, 0, 64, 64},
        {65, 130, 1, 1, 65, 63},         // first centred placement: offsets 1 and 1
        {688, 452, 624, 162, 64, 62},    // field row 226 -> bottom edge
        {751, 579, 624, 162, 127, 125},
    };
    for (const Case& c : cases) {
        pick_xcent = c.px;
        pick_ycent = c.py;
        tracking = 0;
        calc_guideframe();
        EXPECT_EQ(focus_x, c.focus_x) << c.px;
        EXPECT_EQ(focus_y, c.focus_y) << c.py;
        EXPECT_EQ(xcent, c.x) << c.px;
        EXPECT_EQ(ycent, c.y) << c.py;
        EXPECT_EQ(drawx, c.x);
        EXPECT_EQ(drawy, c.y);
        EXPECT_EQ(tracking, 1);
    }
}

TEST_F(CentroidTest, PickOnABinnedImageRecordsFullFramePosition)
{
    star_field(1000, 100, 80, 30000);
    run_script("command 21\nlclick 98 83\n");
    EXPECT_EQ(pick_star, 1);
    EXPECT_EQ(picked_star, 1);
    EXPECT_EQ(pick_small, 1);
    EXPECT_EQ(pick_xcent, 200);
    EXPECT_EQ(pick_ycent, 160);
    EXPECT_NE(transcript().find("message \"Skyvane\" \"x position =   200\\ny position =   160\""), std::string::npos)
        << transcript();
}

TEST_F(CentroidTest, PickOnNothingKeepsTheClickPointNotAStaleCentroid)
{
    fill_plane(image_int, 1000);
    xcent = 5;
    ycent = 5;
    run_script("command 21\nlclick 150 120\n");
    EXPECT_EQ(pick_xcent, 300);
    EXPECT_EQ(pick_ycent, 240);
}

TEST_F(CentroidTest, PickIsRefusedInFittedOrResampledDisplayAndTogglesOtherwise)
{
    run_script("command 301\ncommand 21\ncommand 301\ncommand 21\n");
    EXPECT_NE(transcript().find("Sorry, Can Only Select Star in Standard or 150% Display Options."), std::string::npos);
    EXPECT_EQ(pick_star, 1);
    EXPECT_EQ(centre_it, 1);
    EXPECT_EQ(cur_rad, star_mask);
    EXPECT_TRUE(command_state(21).checked);
    dispatch_command(21);
    EXPECT_EQ(pick_star, 0);
    EXPECT_FALSE(command_state(21).checked);
}

TEST_F(CentroidTest, SearchCentreSnapsThePointAndKeepsItWhenNothingIsFound)
{
    star_field(1000, 104, 83, 30000);
    cur_rad = 8;
    CentrePoint p{100, 80};
    search_centre(100, 80, image_int, 8, p);
    EXPECT_EQ(p.x, 104);
    EXPECT_EQ(p.y, 83);

    selfguiding = 1;
    fill_plane(image_int, 1000);
    xcent = 1;
    ycent = 1;
    CentrePoint q{100, 80};
    search_centre(100, 80, image_int, 8, q);
    EXPECT_EQ(q.x, 100);
    EXPECT_EQ(q.y, 80);
}
