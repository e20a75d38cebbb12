#include <gtest/gtest.h>

#include "analysis_support.h"
#include "app/core/commands.h"
#include "display/window_display.h"
#include "processing/merge_images.h"
#include "store/flags.h"
#include "support/fixture.h"

using MergeModeTest = ProgramTest;

namespace {
// The partner image arrives as File Open brings it in merge mode.
void open_partner(uint16_t value, int sx, int sy)
{
    merge_partner_opening();
    fill_plane(image_int, value);
    at(image_int, sx, sy) = 20000;
    merge_partner_opened();
}
}

TEST_F(MergeModeTest, StartChecksRefuseWithTheirMessages)
{
    run_script("command 14\ncommand 111\n");     // photometry on
    EXPECT_NE(transcript().find("Sorry, you cannot run Photometry, Row Plot and Merging at the same time"), std::string::npos);
    EXPECT_EQ(merging, 0);
    photometry = 0;
    run_script("command 301\ncommand 111\n");    // fitted display
    EXPECT_NE(transcript().find("Sorry, Merging only available in standard Geometry."), std::string::npos);
    Fit = 0;
    run_script("command 111\ncommand 111\n");
    EXPECT_NE(transcript().find("open 13 \"MERGE IMAGES\""), std::string::npos);
    EXPECT_NE(transcript().find("Sorry, you are already in Merging mode."), std::string::npos);
    EXPECT_EQ(merging, 1);
}

TEST_F(MergeModeTest, ClicksMarkBothPointsAndMergeAddsThePartnerShiftedOntoTheFirst)
{
    fill_plane(image_int, 1000);
    at(image_int, 100, 80) = 20000;
    run_script("command 111\nlclick 100 80\nshow 104\nshow 106\nshow 101\n");
    EXPECT_EQ(orig_x, 100);
    EXPECT_EQ(orig_y, 80);
    EXPECT_NE(transcript().find("field 104 \"100\"\nfield 106 \"80\"\nfield 101 \"1\""), std::string::npos) << transcript();

    // Merge before a partner was opened does nothing and the dialog stays.
    TAD->user_clicked(IDOK);
    EXPECT_EQ(merging, 1);
    ASSERT_TRUE(TAD);

    // Something overwrites the trial plane while merge mode is on; the first image survives.
    open_partner(500, 105, 83);
    fill_plane(trial_int, 7);
    EXPECT_EQ(orig, 0);
    EXPECT_EQ(TAD->GetCheck(102), 1);
    merge_click(105, 83);
    EXPECT_EQ(merge_x, 105);
    EXPECT_EQ(merge_y, 83);
    TAD->user_clicked(IDOK);
    EXPECT_EQ(merging, 0);
    EXPECT_FALSE(TAD);
    EXPECT_NE(transcript().find("close 13 1"), std::string::npos);
    EXPECT_EQ(at(image_int, 100, 80), 40000);    // star onto star
    EXPECT_EQ(at(image_int, 50, 50), 1500);
    EXPECT_EQ(at(image_int, 369, 50), 1500);
    EXPECT_EQ(at(image_int, 370, 50), 1000);      // no valid source: the first image's value
    EXPECT_EQ(prep_image, 1);
}

TEST_F(MergeModeTest, CentreOnStarSnapsTheClicksAndAverageIsClearedAfterwards)
{
    fill_plane(image_int, 1000);
    at(image_int, 100, 80) = 20000;
    cur_rad = 8;
    run_script("command 111\npress 108\npress 103\nlclick 97 82\n");
    EXPECT_EQ(merge_centre, 1);
    EXPECT_EQ(average, 1);
    EXPECT_EQ(orig_x, 100);
    EXPECT_EQ(orig_y, 80);
    open_partner(1000, 110, 90);
    merge_click(112, 88);
    EXPECT_EQ(merge_x, 110);
    EXPECT_EQ(merge_y, 90);
    TAD->user_clicked(IDOK);
    EXPECT_EQ(at(image_int, 100, 80), 20000);   // averaged: (20000 + 20000) / 2
    EXPECT_EQ(average, 0);
    EXPECT_EQ(merge_centre, 1);                  // kept for the next merge
}

TEST_F(MergeModeTest, AFailedOpenLeavesTheFirstPositionBeingMarked)
{
    fill_plane(image_int, 1000);
    run_script("command 111\nlclick 100 80\n");
    merge_partner_opening();       // File Open started, but the file could not be read
    TAD->user_clicked(IDOK);
    EXPECT_EQ(orig, 1);
    EXPECT_EQ(merging, 1);
    // A second open in the partner phase replaces only the partner: the first image stays.
    open_partner(300, 10, 10);
    open_partner(400, 10, 10);
    merge_click(100, 80);
    TAD->user_clicked(IDOK);
    EXPECT_EQ(at(image_int, 50, 50), 1400);
}

TEST_F(MergeModeTest, CancelEndsTheModeAndTheCloseBoxToo)
{
    run_script("command 111\npress 103\npress 2\ncommand 111\nclose\n");
    EXPECT_EQ(merging, 0);
    EXPECT_EQ(average, 0);
    EXPECT_FALSE(TAD);
    EXPECT_NE(transcript().find("close 13 2\nopen 13 \"MERGE IMAGES\"\nclose 13 2"), std::string::npos) << transcript();
}

TEST_F(MergeModeTest, UndoAfterAMergeRestoresTheImageOfTheLastArithmeticCommand)
{
    fill_plane(image_int, 5000);
    fill_plane(trial_int, 1000);
    apply_partner_image('s');               // undo copy: 5000
    run_script("command 111\nlclick 100 80\n");
    open_partner(100, 10, 10);
    merge_click(100, 80);
    TAD->user_clicked(IDOK);
    EXPECT_EQ(at(image_int, 50, 50), 4100);
    dispatch_command(9);
    EXPECT_EQ(at(image_int, 50, 50), 5000);
}
