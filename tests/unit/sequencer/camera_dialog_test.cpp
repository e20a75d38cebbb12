#include <gtest/gtest.h>

#include "camera/sequence_state.h"
#include "camera/zr_readout.h"
#include "files/settings_file.h"
#include "files/settings_values.h"
#include "store/flags.h"
#include "support/fixture.h"

using CameraDialogTest = ProgramTest;

TEST_F(CameraDialogTest, RangesResetTheValueAndSetTheirMaximum)
{
    run_script("command 12\npress 705\nshow 105\nscroll 104 linedown\nshow 105\n"
               "press 701\nshow 105\npress 2\n");
    EXPECT_EQ(transcript().find("field 105 \"1\"\nfield 105 \"2\"\nfield 105 \"5\""), transcript().find("field 105 \"1\""));
    EXPECT_EQ(exp_range, 'q');
    EXPECT_EQ(max_exp, 1000);
    EXPECT_EQ(exp_value, 5);
}

TEST_F(CameraDialogTest, SpinControlsStopAtTheirBounds)
{
    std::string script = "command 12\n";
    for (int i = 0; i < 3; ++i) script += "scroll 104 lineup\nscroll 111 lineup\nscroll 119 lineup\n";
    script += "show 105\nshow 112\nshow 120\n";
    for (int i = 0; i < 120; ++i) script += "scroll 111 linedown\n";
    for (int i = 0; i < 25; ++i) script += "scroll 119 linedown\n";
    script += "show 112\nshow 120\nscroll 124 pageup\nscroll 124 lineup\nshow 130\nscroll 124 pagedown\nscroll 124 linedown\nshow 130\n"
              "scroll 124 thumbposition 13\nshow 124\npress 2\n";
    run_script(script);
    EXPECT_NE(transcript().find("field 105 \"1\"\nfield 112 \"1\"\nfield 120 \"0\"\nfield 112 \"99\"\nfield 120 \"20\"\n"
                                "field 130 \"10\"\nfield 130 \"16\"\nfield 124 \"13\""),
              std::string::npos)
        << transcript();
}

TEST_F(CameraDialogTest, SelfGuidingNeedsTheControlBox)
{
    run_script("command 12\npress 135\nshow 135\npress 2\n");
    EXPECT_NE(transcript().find("\"Sorry! Mk 2 Controlbox not present. Self-guiding not available\""), std::string::npos);
    EXPECT_NE(transcript().find("field 135 \"0\""), std::string::npos);
    EXPECT_EQ(selfguiding, 0);
}

TEST_F(CameraDialogTest, ArmingSelfGuidingTakesTheGuideExposure)
{
    gotcontrolbox = 1;
    ASSERT_EQ(SaveINIFile(INI_FILE), 0);    // the camera command reads the settings on first use
    // "Seconds" 12 is refused with a beep; 11 is accepted
    std::string to12;
    for (int i = 1; i < 12; ++i) to12 += "scroll 104 linedown\n";
    run_script("command 12\n" + to12 + "press 135\nshow 135\nscroll 104 lineup\npress 128\npress 135\n"
               "show 133\nshow 134\nshow 136\nshow 129\npress 126\nshow 135\npress 2\n");
    const std::string t = transcript();
    EXPECT_NE(t.find("beep\nfield 135 \"0\""), std::string::npos) << t;
    EXPECT_NE(t.find("beep\nfield 133 \"11\"\nfield 134 \"seconds\"\nfield 136 \"High Resolution  - Interlaced\"\nfield 129 \"1\""),
              std::string::npos) << t;
    EXPECT_NE(t.find("field 135 \"0\"\nclose 7 2"), std::string::npos) << t;
    EXPECT_EQ(selfguiding, 0);
    EXPECT_EQ(switch_frame, 0);
    EXPECT_EQ(selfguidinghigh, 0);
}

TEST_F(CameraDialogTest, CancelTakesNoPicture)
{
    run_script("command 12\npress 2\n");
    EXPECT_EQ(transcript(), "open 7 \"QV Control Interface\"\nclose 7 2\n");
}
