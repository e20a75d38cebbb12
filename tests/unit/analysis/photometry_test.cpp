#include <gtest/gtest.h>

#include "analysis_support.h"
#include "display/histogram.h"
#include "processing/analysis_views.h"
#include "processing/photometry.h"
#include "store/flags.h"
#include "support/fixture.h"

using PhotometryTest = ProgramTest;

TEST_F(PhotometryTest, MagnitudeDifferenceFromTheSums)
{
    struct Case { int32_t object, comparison, background; const char* text; };
    const Case cases[] = {
        {4000, 1000, 0, "-1.51"},
        {1000, 4000, 0, "1.51"},
        {4000, 1000, 1000, ""},     // the comparison is not brighter than the background
        {4000, 2000, 1000, "-1.19"},
        {0, 1000, 0, ""},
        {1000, 0, 0, ""},
        {500, 1000, 600, ""},
    };
    for (const Case& c : cases) {
        obj_val = c.object;
        comp_val = c.comparison;
        back_val = c.background;
        EXPECT_EQ(magnitude_text(), c.text) << c.object << "/" << c.comparison << " - " << c.background;
    }
}

TEST_F(PhotometryTest, ClicksMeasureTheMaskAndTheDialogShowsMeans)
{
    fill_plane(image_int, 100);
    at(image_int, 50, 40) = 123;
    most_pop = 3;
    run_script("command 14\n"
               "press 117\nlclick 50 40\nshow 110\nshow 104\nshow 105\nshow 112\n"
               "press 116\nshow 110\nshow 104\n"
               "lclick 50 40\nshow 110\n"
               "press 103\nlclick 200 200\nshow 112\nshow 103\n"
               "move 60 41\nshow 1018\nshow 1020\nmove 1 41\nshow 1018\nmove 375 41\nshow 1018\n");
    EXPECT_NE(transcript().find("field 110 \"    123\"\nfield 104 \"50\"\nfield 105 \"40\"\nfield 112 \"    768\"\n"
                                "field 110 \"      0\"\nfield 104 \"0\"\n"
                                "field 110 \"    100\"\n"
                                "field 112 \"    100\"\nfield 103 \"1\"\n"
                                "field 1018 \"60\"\nfield 1020 \"    100\"\nfield 1018 \"60\"\nfield 1018 \"60\"\n"),
              std::string::npos)
        << transcript();
    EXPECT_EQ(obj_val, 81 * 100 + 23);     // 9 x 9 mask
    EXPECT_EQ(cur_rad, 4);
    EXPECT_EQ(ph_object, 'b');
}

TEST_F(PhotometryTest, StartChecksAndTheBackgroundChoiceSurvivingARestart)
{
    run_script("command 14\ncommand 14\npress 103\npress 2\ncommand 16\n");
    EXPECT_NE(transcript().find("Sorry, you are already in Photometry mode."), std::string::npos);
    EXPECT_EQ(photometry, 0);
    EXPECT_EQ(row_plot, 1);
    run_script("command 14\n");
    EXPECT_NE(transcript().find("Sorry, you cannot run Photometry, Row Plot and Merging at the same time"), std::string::npos);
    row_plot = 0;
    most_pop = 2;
    fill_plane(image_int, 300);
    run_script("command 14\nlclick 100 100\nshow 112\nshow 108\n");
    // Still measuring the background, but the level shown is the histogram's until the button is pressed.
    EXPECT_NE(transcript().find("field 112 \"    512\"\nfield 108 \"100\""), std::string::npos) << transcript();
    EXPECT_EQ(back_val, 81 * 300);
}

TEST_F(PhotometryTest, ClickIsRefusedWhenHomingMovedTheMaskOffTheImage)
{
    // Three ever brighter pixels towards the edge pull the homed point, pass by pass, to column 0,
    // where the mask would leave the image.
    fill_plane(image_int, 1000);
    at(image_int, 8, 100) = 1500;
    at(image_int, 4, 100) = 5000;
    at(image_int, 0, 100) = 65535;
    run_script("command 14\nrclick 12 100\n");
    EXPECT_NE(transcript().find("Sorry, outside Image area - try again\\n\\nx position =     0\\ny position =   100"),
              std::string::npos)
        << transcript();
    EXPECT_EQ(obj_val, 0);
}
