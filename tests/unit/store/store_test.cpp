#include <gtest/gtest.h>

#include "support/fixture.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"

using StoreTest = ProgramTest;

TEST_F(StoreTest, StartUpFillsTheBinnedRamp)
{
    EXPECT_EQ(binned, 1);
    EXPECT_EQ(width1, 376);
    EXPECT_EQ(intlength, 109044);
    for (int x = 0; x < 376; ++x)
        ASSERT_EQ(image_int[289 * 376 + x], 65025) << x;
    EXPECT_EQ(image_int[376], 225);
    EXPECT_EQ(trial_int[376], 225);
    EXPECT_EQ(undo_int[376], 225);
    EXPECT_EQ(save_int[376], 0);
    EXPECT_EQ(comparison_int[376], 0);
}

TEST_F(StoreTest, GeometryFollowsBinnedAndClearsGeoAndBigOnlyForFullFrames)
{
    Geo = 1;
    Big = 1;
    binned = 0;
    QV_binned();
    EXPECT_EQ(width1, 752);
    EXPECT_EQ(width1_10, 7520);
    EXPECT_EQ(width3, 1504);
    EXPECT_EQ(height2, 579);
    EXPECT_EQ(intlength, 436164);
    EXPECT_EQ(writefile16, 27260);
    EXPECT_EQ(Geo, 0);
    EXPECT_EQ(Big, 0);
    Geo = 1;
    Big = 1;
    binned = 1;
    QV_binned();
    EXPECT_EQ(writefile16, 6815);
    EXPECT_EQ(Geo, 1);
    EXPECT_EQ(Big, 1);
}

TEST_F(StoreTest, HeaderMarkIsSamplesFourAndFiveAddingToThirtyFour)
{
    image_int[4] = 17;
    image_int[5] = 17;
    EXPECT_TRUE(is_header_marked(image_int));
    EXPECT_EQ(first_processed_sample(image_int), 3760);
    image_int[4] = 18;
    EXPECT_FALSE(is_header_marked(image_int));
    EXPECT_EQ(first_processed_sample(image_int), 0);
}

TEST_F(StoreTest, HistoryAppendsIntoTheFirstEmptyLineAndDropsWhenFull)
{
    EXPECT_EQ(history_append(std::string(60, 'x')), 0);
    EXPECT_EQ(process_info[0].size(), 39u);
    process_info[1] = "kept";
    EXPECT_EQ(history_append("second"), 2);
    for (int k = 0; k < 15; ++k)
        process_info[k] = "used";
    EXPECT_EQ(history_append("dropped"), -1);
    EXPECT_TRUE(process_info[15].empty());
}

TEST_F(StoreTest, PlaneCopiesVisitIntlengthSamplesInTheirArgumentOrder)
{
    trial_int[109043] = 7;     // a spare sample after the last row
    trial_int[109044] = 9;     // beyond intlength
    copy_image(image_int, trial_int);
    EXPECT_EQ(image_int[109043], 7);
    EXPECT_NE(image_int[109044], 9);
    undo_int[0] = 3;
    restore_image(image_int, undo_int);
    EXPECT_EQ(image_int[0], 3);
    image_int[1] = 11;
    undo_image(image_int, undo_int);
    EXPECT_EQ(undo_int[1], 11);
    image_int[2] = 12;
    backup_image(image_int, save_int);
    EXPECT_EQ(save_int[2], 12);
}

TEST_F(StoreTest, AddImageTakesEvenRowsFromTheOtherPlane)
{
    binned = 0;
    QV_binned();
    for (int i = 0; i < 752 * 580; ++i) {
        image_int[i] = 1;
        trial_int[i] = 2;
    }
    do_add_image(image_int, trial_int, 0);
    for (int y = 0; y < 580; ++y)
        for (int x = 0; x < 752; x += 151)
            ASSERT_EQ(image_int[y * 752 + x], y % 2 == 0 ? 2 : 1) << x << "," << y;
}
