#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "camera/sequence_state.h"
#include "camera/usb_hid.h"
#include "camera/zr_readout.h"
#include "files/fits_file.h"
#include "processing/progress_dialog.h"
#include "store/history.h"
#include "platform/services.h"
#include "sim/sim_camera.h"
#include "store/flags.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
class SequencerTest : public ProgramTest {
protected:
    SimCamera& camera() { return dynamic_cast<SimCamera&>(*services().usb); }

    // The command packets the camera received, as words; runs of clears count as one "clear*"
    // when COLLAPSE is set.
    std::vector<std::string> commands(bool collapse = true)
    {
        std::vector<std::string> words;
        for (const auto& c : camera().commands()) {
            std::string w;
            if (c.packet[0] == 2) {
                static const char* const names[] = {"?", "wipe", "clear", "reader", "reader2", "reader3"};
                w = c.packet[1] <= 5 ? names[c.packet[1]] : "?";
            } else if (c.packet[0] == 4) {
                w = c.packet[7] == 0 ? "read-binned" : c.packet[7] == 2 ? "read-field" : "read-window";
            }
            if (collapse && w == "clear" && !words.empty() && (words.back() == "clear" || words.back() == "clear*"))
                words.back() = "clear*";
            else
                words.push_back(w);
        }
        return words;
    }
    // Takes one sequence with the dialog set by the script lines SETUP.
    void take(const std::string& setup, const std::string& after = "")
    {
        camera().record_commands(true);
        run_script("command 12\n" + setup + "press 1\n" + after);
    }
    static std::string join(const std::vector<std::string>& w)
    {
        std::string s;
        for (const auto& x : w) s += (s.empty() ? "" : " ") + x;
        return s;
    }
    int count(const std::string& text) const
    {
        int n = 0;
        for (size_t at = transcript().find(text); at != std::string::npos; at = transcript().find(text, at + 1))
            ++n;
        return n;
    }
};
}

TEST_F(SequencerTest, EachReadoutModeSendsItsCommandsInOrder)
{
    struct Case { const char* mode; const char* expected; };
    // "Seconds" 1 (after the enumeration's reader); "Seconds" 4 for the progressive mode, whose
    // odd field is restarted once a field transfer has passed.
    const Case cases[] = {
        {"", "reader clear wipe clear reader read-binned"},
        {"press 127\n", "reader clear wipe clear reader read-field"},
        {"press 129\n", "reader clear wipe clear reader read-field wipe clear* reader3 reader2 read-field"},
        {"press 128\nscroll 104 linedown\nscroll 104 linedown\nscroll 104 linedown\n",
         "reader clear wipe clear* reader2 clear* reader3 read-field reader2 read-field"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        got_zr = 0;
        out_.str("");
        take(c.mode);
        EXPECT_EQ(join(commands()), c.expected) << transcript();
    }
}

TEST_F(SequencerTest, ShortExposuresAreTimedByTheCameraBelow500ms)
{
    // "Thousandth's" 499: no host wait; the block read carries the time.
    exp_range = 'q';
    exp_value = 499;

    camera().record_commands(true);
    run_script("command 12\npress 1\n");
    const auto& cmds = camera().commands();
    ASSERT_FALSE(cmds.empty());
    const auto& read = cmds.back();
    EXPECT_EQ(read.packet[0], 4);
    EXPECT_EQ(read.packet[1], 243);
    EXPECT_EQ(read.packet[2], 1);
    EXPECT_EQ(join(commands()), "reader clear wipe clear reader read-binned");
    // wipe to reader without waiting
    EXPECT_LT(cmds[4].t_us - cmds[2].t_us, 50000);
}

TEST_F(SequencerTest, HostTimedShortExposuresClearOnlyAbove600ms)
{
    struct Case { int tenths; bool clears; };
    for (const Case c : {Case{5, false}, Case{7, true}}) {
        SCOPED_TRACE(c.tenths);

        exp_range = 't';
        exp_value = c.tenths;
        max_exp = 100;
        camera().record_commands(true);
        run_script("command 12\npress 1\n");
        const auto words = commands(false);
        const auto& cmds = camera().commands();
        // wipe ... reader: at least the exposure apart
        size_t wipe = 0, reader = 0;
        for (size_t i = 0; i < words.size(); ++i) {
            if (words[i] == "wipe") wipe = i;
            if (words[i] == "reader") reader = i;
        }
        EXPECT_GE(cmds[reader].t_us - cmds[wipe].t_us, c.tenths * 100000);
        // between them: the clear before reading (above 199 ms), and clears on every pass above 600 ms
        const size_t clears = reader - wipe - 1;
        if (c.clears)
            EXPECT_GT(clears, 10u);
        else
            EXPECT_EQ(clears, 1u);
    }
}

TEST_F(SequencerTest, ProgressiveFallsBackToTheTwoExposureModeAndKeepsIt)
{
    // "Seconds" 2 is shorter than a field transfer (download_time 3000).
    take("press 128\nscroll 104 linedown\n");
    EXPECT_EQ(highres_intl, 0);
    EXPECT_EQ(highres_nonintl, 1);
    EXPECT_EQ(join(commands()), "reader clear wipe clear reader read-field wipe clear* reader3 reader2 read-field");
    out_.str("");
    run_script("command 12\nshow 129\nshow 128\npress 2\n");
    EXPECT_NE(transcript().find("field 129 \"1\"\nfield 128 \"0\""), std::string::npos) << transcript();
}

TEST_F(SequencerTest, AStackOfThreeTakesThreeExposuresAndCountsDown)
{
    take("scroll 111 linedown\nscroll 111 linedown\n");
    int reads = 0;
    for (const auto& w : commands()) reads += w == "read-binned";
    EXPECT_EQ(reads, 3);
    EXPECT_DOUBLE_EQ(FITS_Exptime, 3.0);
    EXPECT_EQ(count("open 6 \"EXPOSURE UNDERWAY (Left - 3)\""), 1) << transcript();
    EXPECT_EQ(count("open 6 \"EXPOSURE UNDERWAY (Left - 2)\""), 1);
    EXPECT_EQ(count("open 6 \"EXPOSURE UNDERWAY\""), 1);
    EXPECT_EQ(no_images, 0);
}

TEST_F(SequencerTest, ContinuousFramesAreEachShownOnceAndNotStacked)
{
    take("press 118\nscroll 111 linedown\nscroll 111 linedown\n");
    int reads = 0;
    for (const auto& w : commands()) reads += w == "read-binned";
    EXPECT_EQ(reads, 3);
    EXPECT_DOUBLE_EQ(FITS_Exptime, 1.0);
}

TEST_F(SequencerTest, ContinuousRunWithAPauseCountsDownBetweenFrames)
{
    // Two minutes between frames; a key a little after the second frame started ends the run.
    camera().record_commands(true);
    run_script("command 12\nat 200000 key\npress 118\nscroll 119 linedown\nscroll 119 linedown\npress 1\n");
    EXPECT_EQ(count("open 6 \"Pause between exposures\""), 2) << transcript();
    int reads = 0;
    for (const auto& w : commands()) reads += w == "read-binned";
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(cont_work, 0);
    EXPECT_GE(clock_->now_us(), 200000000);
    EXPECT_LT(clock_->now_us(), 260000000);
}

TEST_F(SequencerTest, AKeyDuringALongExposureAbandonsTheFrame)
{
    exp_value = 30;        // "Seconds" 30

    const uint16_t before = image_int[1000];
    focus_x = 100;
    camera().record_commands(true);
    run_script("command 12\nat 5000 key\npress 1\n");
    EXPECT_EQ(image_int[1000], before);
    EXPECT_EQ(focus_x, 312);
    EXPECT_EQ(focus_y, 65);
    for (const auto& w : commands())
        EXPECT_NE(w, "read-binned");
    EXPECT_EQ(count("beep"), 1);
    EXPECT_EQ(transcript().find("caption \"Skyvane - QV Camera Image\""), std::string::npos);
}

TEST_F(SequencerTest, CountdownBeepsTenTimes)
{
    take("press 117\n");
    EXPECT_EQ(count("beep"), 10);
    EXPECT_EQ(count("open 6 \"EXPOSURE DELAY\""), 1) << transcript();
}

TEST_F(SequencerTest, AMissingDarkFrameIsReportedAfterEveryFrame)
{
    take("press 113\nscroll 111 linedown\n");
    EXPECT_EQ(count("\"Sorry, chosen Darkframe is not an QV File\""), 2) << transcript();
    EXPECT_TRUE(process_info[0].empty());     // no "Dark Frame Subtracted" for an uncalibrated frame
}

TEST_F(SequencerTest, AutosaveWritesNumberedFitsFiles)
{
    take("press 116\nscroll 111 linedown\n");
    EXPECT_TRUE(files_.exists(native("c:\\AUTOSAVE\\IMG1.FIT")));
    EXPECT_TRUE(files_.exists(native("c:\\AUTOSAVE\\IMG2.FIT")));
}

TEST_F(SequencerTest, FocusLoopRunsUntilAClickAndNotForLongExposures)
{

    camera().record_commands(true);
    run_script("command 12\npress 705\npress 107\nshow 109\npress 2\n");
    EXPECT_TRUE(commands().empty() || join(commands()).find("read-window") == std::string::npos);
    EXPECT_EQ(focus_mode, 0);
    camera().record_commands(true);
    out_.str("");
    // "Seconds" 1 frames, a beep and a second's pause between them, until a click at 5 s
    run_script("command 12\nat 5000 lclick 10 10\npress 704\npress 107\nshow 109\npress 2\n");
    int windows = 0;
    for (const auto& w : commands()) windows += w == "read-window";
    EXPECT_GE(windows, 2);
    EXPECT_LE(windows, 3);
    EXPECT_GE(count("beep"), 1);
    EXPECT_NE(transcript().find("field 109 \""), std::string::npos);
    EXPECT_EQ(transcript().find("field 109 \"0\""), std::string::npos) << transcript();
    EXPECT_EQ(focus_mode, 0);    // cleared when the dialog closed
}

TEST_F(SequencerTest, NinetyMinutesTakeWellUnderASecond)
{

    exp_range = 'm';
    exp_value = 90;
    max_exp = 90;
    const auto t0 = std::chrono::steady_clock::now();
    run_script("command 12\npress 1\n");
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_DOUBLE_EQ(FITS_Exptime, 5400.0);
}
