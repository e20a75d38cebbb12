#include <gtest/gtest.h>

#include "app/core/commands.h"
#include "display/histogram.h"
#include "display/mirror.h"
#include "display/window_display.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "support/fixture.h"

using ViewTest = ProgramTest;

TEST_F(ViewTest, MirrorTwiceGivesTheImageBackAndSparesHeaderRows)
{
    for (int i = 0; i < intlength; ++i)
        image_int[i] = uint16_t(i * 7);
    image_int[4] = 17;
    image_int[5] = 17;     // header-marked
    std::vector<uint16_t> original(image_int, image_int + intlength);
    mirror_image(image_int, trial_int);
    for (int i = 0; i < 3760; ++i)
        ASSERT_EQ(image_int[i], original[i]) << i;
    EXPECT_EQ(image_int[10 * 376], original[10 * 376 + 375]);
    EXPECT_EQ(image_int[289 * 376 + 375], original[289 * 376]);
    mirror_image(image_int, trial_int);
    // the image comes back; the spare samples after the last row take the scratch plane's
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 376 * 290, image_int));
}

TEST_F(ViewTest, FitGeoAndBigExcludeEachOther)
{
    dispatch_command(123);
    EXPECT_EQ(Big, 1);
    dispatch_command(303);
    EXPECT_EQ(Geo, 1);
    EXPECT_EQ(Big, 0);
    ASSERT_TRUE(Dib);
    EXPECT_EQ(Dib->width, 564);
    EXPECT_EQ(Dib->height, 452);
    dispatch_command(301);
    EXPECT_EQ(Fit, 1);
    EXPECT_EQ(Geo, 0);
    dispatch_command(123);
    EXPECT_EQ(Fit, 0);
    EXPECT_EQ(Big, 1);
    EXPECT_EQ(Dib->height, 435);
    // ignored in photometry mode
    photometry = 1;
    dispatch_command(123);
    dispatch_command(301);
    EXPECT_EQ(Big, 1);
    EXPECT_EQ(Fit, 0);
}

TEST_F(ViewTest, EnablersFollowTheGeometryAndFlags)
{
    EXPECT_FALSE(command_state(24359).enabled);   // no bitmap yet
    dispatch_command(118);
    EXPECT_TRUE(command_state(24359).enabled);
    EXPECT_TRUE(command_state(118).checked);
    EXPECT_TRUE(command_state(303).enabled);
    binned = 0;
    QV_binned();
    EXPECT_FALSE(command_state(303).enabled);
    EXPECT_FALSE(command_state(123).enabled);
    for (int id : {22, 23, 24})
        EXPECT_FALSE(command_state(id).enabled) << id;
}

TEST_F(ViewTest, StretchPaletteDialogStepsWithinItsBounds)
{
    run_script(
        "command 726\n"
        "scroll 104 pageup\nscroll 104 lineup\nshow 102\n"
        "scroll 104 pagedown\nscroll 104 linedown\nshow 102\n"
        "scroll 104 thumbposition 13\nshow 104\n"
        "press 103\nshow 103\n"
        "close\n");
    EXPECT_EQ(focus_stretch, 13);
    EXPECT_EQ(max_stretch, 1);
    EXPECT_EQ(transcript(),
              "open 20 \"Stretch Palette\"\n"
              "field 102 \"10\"\n"
              "field 102 \"16\"\n"
              "field 104 \"13\"\n"
              "field 103 \"1\"\n"
              "close 20 2\n");
    EXPECT_FALSE(Dib);    // the close box keeps the changes but skips the refresh
}

TEST_F(ViewTest, HistogramPicksTheThreeFullestBins)
{
    for (int i = 0; i < intlength; ++i)
        image_int[i] = 10 << 8;
    for (int i = 5000; i < 9000; ++i) image_int[i] = 40 << 8;
    for (int i = 9000; i < 12000; ++i) image_int[i] = 70 << 8;
    build_histogram(image_int);
    EXPECT_EQ(most_pop, (10 + 40 + 70) / 3);
    EXPECT_EQ(table[256], 0u);
    uint32_t total = 0;
    for (int b = 0; b < 256; ++b) total += table[b];
    EXPECT_EQ(total, uint32_t(intlength - width1_10));
    // a flat image: the missing picks count as bin 0
    for (int i = 0; i < intlength; ++i)
        image_int[i] = 90 << 8;
    build_histogram(image_int);
    EXPECT_EQ(most_pop, 30);
    find_most_pop(image_int);
    EXPECT_EQ(most_pop, 90);
}
