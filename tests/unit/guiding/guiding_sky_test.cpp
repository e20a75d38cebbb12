// Guiding on the simulated sky, measured from the simulator's truth log: training finds the
// mount's rates and backlash, guiding holds the star against drift and periodic error, through
// a cloud, and with the mount's orientation flipped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "camera/camera_hooks.h"
#include "camera/info_dialog.h"
#include "camera/sequence_state.h"
#include "camera/zr_readout.h"
#include "files/settings_values.h"
#include "guiding/guiding_loop.h"
#include "guiding/telescope_protocol.h"
#include "sky_run.h"

namespace {
// The sky of the first scenario: a guide rate of 2 px/s on both axes, RA drift 3 px/min with a
// periodic error of 2 px over 8 minutes, Dec drift 1.5 rows/min, stars of FWHM 3 px.
const char* const DRIFTING_SKY =
    "seeing_fwhm = 3\n"
    "mount.guide_rate_x = 2\n"
    "mount.guide_rate_y = 2\n"
    "mount.drift_x = 0.05\n"
    "mount.drift_y = 0.025\n"
    "mount.pe_amplitude = 2\n"
    "mount.pe_period = 480\n";

class GuidingSkyTest : public SkyRun {
protected:
    // The user's settings: an LX200 (or the box), 2-second training, star mask 8, 1-second guide
    // frames shown without stretch.
    void settings(char interface, int training_seconds = 2)
    {
        telescope = interface;
        slewdefault = training_seconds;
        star_mask = 8;
        exp_range = 's';
        exp_value = 1;
        focus_stretch = 16;
        save_settings();
    }
    // Guides for MINUTES, stopped by a key press; returns the log time the guiding started.
    double guide(int minutes)
    {
        const double start = log_time_ms();
        run_script("at " + std::to_string(minutes * 60000) + " key\ncommand 23");
        return start;
    }
};

TEST_F(GuidingSkyTest, TrainsRatesAndHoldsTheStarAgainstDriftAndPeriodicError)
{
    start(DRIFTING_SKY);
    settings('l');
    picture_and_pick();
    run_script("command 22");
    int sx = 0, sy = 0, bx = 0, by = 0;
    ASSERT_TRUE(training_message(sx, sy, bx, by)) << transcript();
    std::printf("training: slewx %d slewy %d backlashx %d backlashy %d\n", sx, sy, bx, by);
    picture_and_pick();
    const auto wall0 = std::chrono::steady_clock::now();
    const double t0 = guide(20);
    const double t1 = log_time_ms();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const TruthStats st = stats(t0 + 2000, t0 + 2000, t1);
    std::printf("guiding %.0f s (%.2f s real): rms x %.3f y %.3f max %.3f (%d samples)\n", (t1 - t0) / 1000, wall,
                st.rms_x, st.rms_y, st.max_dist, st.samples);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(sy, 2);
    EXPECT_LT(st.rms_x, 0.25);
    EXPECT_LT(st.rms_y, 0.25);
    EXPECT_LT(st.max_dist, 1.0);
    // The same sky for another 20 minutes without guiding.
    const double u0 = log_time_ms();
    run_script("wait 1200000\ncommand 9902");   // the picture brings the truth log up to date
    const TruthStats unguided = stats(u0, u0, u0 + 1200000);
    std::printf("unguided: max %.1f px\n", unguided.max_dist);
    EXPECT_GT(unguided.max_dist, 50.0);
}

TEST_F(GuidingSkyTest, TrainsDecBacklashAndGuidesThroughDriftReversals)
{
    start("seeing_fwhm = 3\n"
          "mount.guide_rate_x = 2\n"
          "mount.guide_rate_y = 4\n"
          "mount.backlash_y = 3\n"
          "mount.drift_x = 0.05\n"
          "mount.drift_y = 0.025\n"
          "mount.drift_y_reverse = 300\n");
    settings('l', 1);
    picture_and_pick();
    run_script("command 22");
    int sx = 0, sy = 0, bx = 0, by = 0;
    ASSERT_TRUE(training_message(sx, sy, bx, by)) << transcript();
    std::printf("training: slewx %d slewy %d backlashx %d backlashy %d\n", sx, sy, bx, by);
    picture_and_pick();
    const double t0 = guide(20);
    const double t1 = log_time_ms();
    const TruthStats st = stats(t0 + 2000, t0 + 2000, t1);
    std::printf("guiding %.0f s: rms x %.3f y %.3f max %.3f\n", (t1 - t0) / 1000, st.rms_x, st.rms_y, st.max_dist);
    EXPECT_NEAR(by, 3, 1);
    EXPECT_NEAR(sy, 4, 1);
    EXPECT_LT(st.rms_y, 0.4);
}

// Times (log ms) at which a move started or ended: the rows between the once-a-second ones.
std::vector<double> move_times(const std::vector<TruthRow>& rows)
{
    std::vector<double> out;
    for (const TruthRow& r : rows)
        if (std::fmod(r.t_ms, 1000.0) != 0.0)
            out.push_back(r.t_ms);
    return out;
}

TEST_F(GuidingSkyTest, ControlBoxMakesNoCorrectionWhileACloudHidesTheStarAndRecovers)
{
    start(std::string(DRIFTING_SKY) + "sky.cloud_start = 300\nsky.cloud_length = 6\nsky.cloud_transparency = 0\n");
    settings('b');
    picture_and_pick();
    run_script("command 22");
    int sx = 0, sy = 0, bx = 0, by = 0;
    ASSERT_TRUE(training_message(sx, sy, bx, by)) << transcript();
    picture_and_pick();
    const double t0 = guide(20);
    const double t1 = log_time_ms();
    ASSERT_LT(t0, 280000.0);
    const auto rows = truth();
    int during = 0, total = 0;
    for (double t : move_times(rows)) {
        total += t > t0;
        during += t > 301500 && t < 306000;
    }
    const TruthStats before = stats(t0 + 2000, t0 + 2000, 300000);
    const TruthStats after = stats(t0 + 2000, 330000, t1);
    std::printf("box: training %d %d %d %d; %d moves, %d in the cloud; rms before %.3f %.3f, after %.3f %.3f max %.3f\n",
                sx, sy, bx, by, total, during, before.rms_x, before.rms_y, after.rms_x, after.rms_y, after.max_dist);
    EXPECT_GT(total, 100);
    EXPECT_EQ(during, 0);
    EXPECT_LT(after.rms_x, 0.25);
    EXPECT_LT(after.rms_y, 0.25);
    EXPECT_LT(after.max_dist, 1.0);
}

TEST_F(GuidingSkyTest, FlippedMountRunsAwayUntilEastAndWestAreSwapped)
{
    start(std::string(DRIFTING_SKY) + "mount.flip_ew = 1\n");
    settings('b');
    picture_and_pick();
    run_script("command 22");
    picture_and_pick();
    double t0 = guide(3);
    const TruthStats wrong = stats(t0 + 2000, t0 + 2000, log_time_ms());
    std::swap(e, w);   // "Swap e/w direction"
    save_settings();
    picture_and_pick();
    t0 = guide(20);
    const TruthStats swapped = stats(t0 + 2000, t0 + 2000, log_time_ms());
    std::printf("flipped: unswapped rms x %.3f max %.3f; swapped rms %.3f %.3f max %.3f\n", wrong.rms_x,
                wrong.max_dist, swapped.rms_x, swapped.rms_y, swapped.max_dist);
    EXPECT_GT(wrong.max_dist, 2.0);
    EXPECT_LT(swapped.rms_x, 0.25);
    EXPECT_LT(swapped.rms_y, 0.25);
    EXPECT_LT(swapped.max_dist, 1.0);
}

TEST_F(GuidingSkyTest, SelfGuidedBinnedExposureThroughTheControlBoxHoldsTheStar)
{
    start(DRIFTING_SKY);
    settings('b');
    picture_and_pick();
    run_script("command 22");
    picture_and_pick();
    int switches = 0;
    auto do_switch = camera_hooks.SwitchSelfGuide;
    camera_hooks.SwitchSelfGuide = [&] {
        ++switches;
        do_switch();
    };
    const double t0 = log_time_ms();
    // Self-guiding with the 1-second exposure as guide frames, then a 5-minute binned exposure.
    std::string script = "command 12\npress 135\npress 705\n";
    for (int i = 0; i < 4; ++i)
        script += "scroll 104 linedown\n";
    run_script(script + "press 1\n");
    const double t1 = log_time_ms();
    const TruthStats st = stats(t0 + 8000, t0 + 8000, t0 + 300000);
    const auto rows = truth();
    int moves = 0;
    for (double t : move_times(rows))
        moves += t > t0;
    std::printf("self-guided %.0f s, %d guide frames, %d moves: rms x %.3f y %.3f max %.3f\n", (t1 - t0) / 1000,
                selfguidingframes, moves, st.rms_x, st.rms_y, st.max_dist);
    EXPECT_EQ(transcript().find("message \"Skyvane\" \"\""), std::string::npos) << "self-guiding stopped";
    EXPECT_EQ(switches, 0);   // a binned exposure keeps its guide field
    EXPECT_GT(selfguidingframes, 200);
    EXPECT_GT(moves, 100);
    EXPECT_LT(st.rms_x, 0.25);
    EXPECT_LT(st.rms_y, 0.25);
    EXPECT_LT(st.max_dist, 1.0);
}

TEST_F(GuidingSkyTest, TrainingThatMeasuresNoMovementShowsZerosAndStoresRatesOfOne)
{
    start("seeing_fwhm = 3\nmount.guide_rate_x = 0\nmount.guide_rate_y = 0\n");
    slewx = slewy = 5;
    settings('l');
    picture_and_pick();
    run_script("command 22");
    EXPECT_NE(transcript().find("\"slewx =     0, slewy =     0\\n"), std::string::npos) << transcript();
    EXPECT_EQ(picked_star, 0);
    EXPECT_EQ(training + guiding + tracking, 0);
    slewx = slewy = 9;
    ASSERT_EQ(LoadINIFile(INI_FILE), 0);
    EXPECT_EQ(slewx, 1);
    EXPECT_EQ(slewy, 1);
}

TEST_F(GuidingSkyTest, AStopDuringTrainingEndsItWithoutResults)
{
    start(DRIFTING_SKY);
    slewx = slewy = 7;
    settings('l');
    picture_and_pick();
    run_script("at 5000 key\ncommand 22");
    EXPECT_EQ(transcript().find("slewx ="), std::string::npos) << transcript();
    EXPECT_EQ(training + guiding + tracking + picked_star, 0);
    slewx = slewy = 9;
    ASSERT_EQ(LoadINIFile(INI_FILE), 0);
    EXPECT_EQ(slewx, 7);
    EXPECT_EQ(slewy, 7);
}

TEST_F(GuidingSkyTest, MatchingDarkFrameTakesHalfTheGuideFramesWithoutCorrections)
{
    start(DRIFTING_SKY);
    settings('b');
    exp_value = 60;
    save_settings();
    selfguidingframes = 40;   // the light frame before it took 40 guide frames
    int steps = 0;
    auto step = camera_hooks.SelfGuide;
    camera_hooks.SelfGuide = [&] {
        ++steps;
        step();
    };
    run_script("command 12\npress 138\npress 1\n");
    EXPECT_EQ(darkframes, 40);
    EXPECT_EQ(steps, 20);
    EXPECT_EQ(selfguidingframes, 40);
    EXPECT_TRUE(move_times(truth()).empty());
    EXPECT_EQ(transcript().find("message"), std::string::npos) << transcript();
}

TEST_F(GuidingSkyTest, SelfGuidedHighResolutionExposureSwitchesTheGuideFieldAtHalfTime)
{
    start(DRIFTING_SKY);
    settings('b');
    picture_and_pick();
    run_script("command 22");
    picture_and_pick();
    int switches = 0;
    auto do_switch = camera_hooks.SwitchSelfGuide;
    camera_hooks.SwitchSelfGuide = [&] {
        ++switches;
        do_switch();
    };
    const double t0 = log_time_ms();
    // "High Res(Interlaced)", self-guiding with 1-second guide frames, a 2-minute exposure.
    run_script("command 12\npress 129\npress 135\npress 705\nscroll 104 linedown\npress 1\n");
    const TruthStats st = stats(t0 + 8000, t0 + 8000, t0 + 120000);
    std::printf("self-guided high resolution: %d switch, %d guide frames: rms x %.3f y %.3f max %.3f\n", switches,
                selfguidingframes, st.rms_x, st.rms_y, st.max_dist);
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(binned, 0);
    EXPECT_EQ(transcript().find("message \"Skyvane\" \"\""), std::string::npos) << "self-guiding stopped";
    EXPECT_GT(selfguidingframes, 80);
    EXPECT_LT(st.rms_x, 0.25);
    EXPECT_LT(st.rms_y, 0.25);
    EXPECT_LT(st.max_dist, 1.0);
}

TEST_F(GuidingSkyTest, TrainingAfterAPickOnABinnedImageMeasuresAtTheBinnedPosition)
{
    start(DRIFTING_SKY);
    settings('l');
    picture_and_pick(60000, 200);   // full-frame x above 400: outside the binned image unless halved
    ASSERT_GT(pick_xcent, BINNED_WIDTH);
    run_script("command 22");
    int sx = 0, sy = 0, bx = 0, by = 0;
    EXPECT_TRUE(training_message(sx, sy, bx, by)) << transcript();
    EXPECT_EQ(transcript().find("outside image area"), std::string::npos) << transcript();
}

TEST_F(GuidingSkyTest, SelfGuidingWithoutAPickedStarIsRefusedAndTakesNoExposure)
{
    start(DRIFTING_SKY);
    settings('b');
    run_script("command 9902\ncommand 12\npress 135\npress 705\npress 1\n");
    EXPECT_NE(transcript().find("\"You must first take an image and pick a star\""), std::string::npos) << transcript();
    EXPECT_EQ(transcript().find("EXPOSURE UNDERWAY"), std::string::npos) << transcript();
    EXPECT_EQ(selfguiding, 0);
    EXPECT_EQ(guiding_info_window(), nullptr);
}

TEST_F(GuidingSkyTest, SelfGuidingIsOfferedOnlyWithTheControlBoxChosen)
{
    start(DRIFTING_SKY);
    settings('l');
    run_script("command 12\npress 135\npress 2\n");
    EXPECT_NE(transcript().find("\"Sorry! Mk 2 Controlbox not present. Self-guiding not available\""), std::string::npos)
        << transcript();
    EXPECT_EQ(comfound, 0);   // the LX200's port was not opened as a box
    EXPECT_EQ(selfguiding, 0);
}
}
