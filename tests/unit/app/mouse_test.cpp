#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/core/mouse_modes.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "support/fixture.h"

using MouseTest = ProgramTest;

TEST_F(MouseTest, MergeClickOnTheEnlargedViewMapsBackToTheBinnedFrame)
{
    int got_x = -1, got_y = -1;
    mouse_modes.merge_click = [&](int x, int y) { got_x = x; got_y = y; };
    merging = 1;
    Big = 1;
    EvLButtonUp(300, 300);
    EXPECT_EQ(got_x, 200);
    EXPECT_EQ(got_y, 200);
}

TEST_F(MouseTest, FocusFrameClicksClampTheOrigin)
{
    struct Case { int x, y; int fx, fy; const char* message; };
    const Case cases[] = {
        {10, 10, 3, 1, "x position =    67\\ny position =   130"},
        {400, 300, 622, 162, "x position =   686\\ny position =   452"},
        {343, 226, 622, 162, nullptr},
        {343, 227, 622, 162, nullptr},
        {100, 100, 136, 36, nullptr},
    };
    for (const auto& c : cases) {
        out_.str("");
        focus_frame = 1;
        EvLButtonUp(c.x, c.y);
        EXPECT_EQ(focus_x, c.fx) << c.x << "," << c.y;
        EXPECT_EQ(focus_y, c.fy) << c.x << "," << c.y;
        EXPECT_EQ(focus_frame, 0);
        if (c.message) {
            EXPECT_EQ(transcript(), std::string("message \"Skyvane\" \"") + c.message + "\"\n");
        }
    }
}

TEST_F(MouseTest, ClicksOutsideTheUsableAreaAreRefusedAndTheModeStays)
{
    photometry = 1;
    cur_rad = 4;
    int clicks = 0;
    mouse_modes.photometry_click = [&](int, int) { ++clicks; };
    EvLButtonUp(3, 50);
    EXPECT_EQ(transcript(), "message \"Skyvane\" \"Sorry, outside Image area - try again\\n\\nx position =     3\\ny position =    50\"\n");
    EXPECT_EQ(clicks, 0);
    EvLButtonUp(4, 4);
    EvLButtonUp(371, 285);
    EXPECT_EQ(clicks, 2);
    EvLButtonUp(372, 285);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(photometry, 1);
}

TEST_F(MouseTest, PickOnABinnedImageStoresTwiceTheCentre)
{
    mouse_modes.find_centre = [](int x, int y, int) { xcent = x + 1; ycent = y; return true; };
    pick_star = 1;
    centre_it = 1;
    cur_rad = 8;
    run_script("lclick 100 80\n");
    // three homing passes move the point by one pixel each
    EXPECT_EQ(pick_xcent, 2 * 103);
    EXPECT_EQ(pick_ycent, 2 * 80);
    EXPECT_EQ(picked_star, 1);
    EXPECT_EQ(pick_small, 1);
    EXPECT_EQ(centre_it, 1);    // set again by the repaint that draws the cross
    EXPECT_EQ(transcript(), "message \"Skyvane\" \"x position =   206\\ny position =   160\"\n");
}

TEST_F(MouseTest, AFailedHomingEndsTheClickSilently)
{
    mouse_modes.find_centre = [](int, int, int) { return false; };
    pick_star = 1;
    centre_it = 1;
    picked_star = 1;
    EvLButtonUp(100, 80);
    EXPECT_EQ(picked_star, 0);
    EXPECT_EQ(transcript(), "");
}

TEST_F(MouseTest, ModesTakeTurnsInTheirOrder)
{
    int rows = 0, merges = 0;
    mouse_modes.row_plot_click = [&](int y) { rows += y; };
    mouse_modes.merge_click = [&](int, int) { ++merges; };
    row_plot = 1;
    merging = 1;
    EvLButtonUp(50, 60);
    EXPECT_EQ(rows, 60);
    EXPECT_EQ(merges, 0);
    row_plot = 0;
    focus_frame = 1;     // merge yields to the focus frame
    EvLButtonUp(50, 60);
    EXPECT_EQ(merges, 0);
    EXPECT_EQ(focus_frame, 0);
    EvLButtonUp(50, 60);
    EXPECT_EQ(merges, 1);
}

TEST_F(MouseTest, RightButtonAndMovesOnlyInPhotometry)
{
    int moves = 0;
    mouse_modes.photometry_move = [&](int, int) { ++moves; };
    mouse_modes.find_centre = [](int x, int y, int) { xcent = x; ycent = y; return true; };
    EvRButtonUp(50, 50);
    EvMouseMove(50, 50);
    EXPECT_EQ(centre_it, 0);
    EXPECT_EQ(moves, 0);
    photometry = 1;
    EvMouseMove(50, 50);
    EvMouseMove(1, 50);
    EvMouseMove(375, 50);
    EXPECT_EQ(moves, 1);
    EvRButtonUp(50, 50);
    EXPECT_EQ(centre_it, 0);   // homed, then cleared before measuring
}
