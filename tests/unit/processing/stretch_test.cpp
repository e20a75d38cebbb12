// The contrast stretches: the worked values of their tables, the apply step (header rows, the
// geometry, undo, history, progress window) and the three dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/histogram.h"
#include "processing/stretch.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
std::vector<uint16_t> table_of(void (*fill)(uint16_t*))
{
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    fill(t.data());
    return t;
}

// What the apply step makes of sample S with table T.
int stretched(const std::vector<uint16_t>& t, int s) { return 2 * t[s >> 1]; }
}

TEST(StretchTables, WorkedValues)
{
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    normal_table(t.data(), 0, 255);
    for (int s : {0, 1, 2, 3, 1001, 40000, 65278, 65279})
        EXPECT_EQ(stretched(t, s), s & ~1) << s;
    for (int s : {65280, 65281, 65535})
        EXPECT_EQ(stretched(t, s), 65534) << s;
    // The white level itself reaches full scale (the formula table, not 128 x 255).
    EXPECT_EQ(t[128 * 255], 32767);

    normal_table(t.data(), 0, 300);
    EXPECT_EQ(stretched(t, 65535), 55702);
    normal_table(t.data(), 10, 20);
    EXPECT_EQ(t[1279], 0);
    EXPECT_EQ(t[1280], 0);
    EXPECT_EQ(t[1281], 25);         // trunc(1 x 25.5)
    EXPECT_EQ(t[2559], 32614);      // trunc(1279 x 25.5)
    EXPECT_EQ(t[2560], 32767);

    const auto log = table_of(log_table);
    EXPECT_EQ(stretched(log, 0), 0);
    EXPECT_EQ(stretched(log, 1), 0);
    EXPECT_EQ(stretched(log, 2), 4368);
    EXPECT_EQ(log[32767], 32761);

    const auto anti = table_of(antilog_table);
    EXPECT_EQ(anti[0], 0);
    EXPECT_LT(anti[32761], 32767);
    for (int i = 32762; i < STRETCH_ENTRIES; ++i)
        EXPECT_EQ(anti[i], 32767) << i;
    for (int s = 65524; s <= 65535; ++s)
        EXPECT_EQ(stretched(anti, s), 65534);

    const auto sine = table_of(sine_table);
    EXPECT_EQ(sine[0], 0);
    EXPECT_EQ(sine[16384], 16383);
    EXPECT_EQ(sine[32767], 32765);

    const auto invert = table_of(invert_table);
    for (int s : {0, 1, 12345, 65534, 65535})
        EXPECT_EQ(stretched(invert, stretched(invert, s)), s & ~1) << s;

    for (uint32_t e : {2u, 25u, 50u}) {
        varnel_table(t.data(), e);
        EXPECT_EQ(t[0], 0);
        EXPECT_EQ(t[32767], 32767) << e;
        EXPECT_EQ(t[1], e - 1) << e;   // slope e at the black end: e / (1 + (e - 1) / 32768), truncated
    }

    background_table(t.data(), 100);
    EXPECT_EQ(t[128 * 98 - 1], 0);
    EXPECT_EQ(t[128 * 98], 0);
    EXPECT_EQ(t[128 * 98 + 157], 255);
    EXPECT_EQ(t[32767], 32767);
}

TEST(StretchTables, PowerStepsAccumulateInDouble)
{
    // Ten dialog steps from 1.0 do not make exactly 2.0, and the table shows it.
    double p = 1.0;
    for (int k = 0; k < 10; ++k)
        p += 0.1;
    ASSERT_NE(p, 2.0);
    std::vector<uint16_t> stepped(STRETCH_ENTRIES), exact(STRETCH_ENTRIES);
    power_table(stepped.data(), p);
    power_table(exact.data(), 2.0);
    EXPECT_EQ(exact[1000], 30);
    EXPECT_EQ(stretched(exact, 2000), 60);
    EXPECT_EQ(stretched(exact, 2001), 60);
    EXPECT_EQ(exact[0], 0);
    EXPECT_EQ(exact[32767], 32766);    // 32767^2 / 32768
    EXPECT_NE(stepped, exact);
    int differing = 0;
    for (int i = 0; i < STRETCH_ENTRIES; ++i)
        differing += stepped[i] != exact[i];
    EXPECT_GT(differing, 0);
}

class StretchCommandTest : public ProgramTest {
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
    int history_count() const
    {
        int n = 0;
        for (int k = 0; k < HISTORY_USED; ++k) n += !process_info[k].empty();
        return n;
    }
};

TEST_F(StretchCommandTest, ApplyStepCoversTheFrameAndKeepsHeaderRows)
{
    for (int full : {0, 1}) {
        binned = full ? 0 : 1;
        QV_binned();
        for (int marked : {0, 1}) {
            fill_random(11 + full * 2 + marked);
            image_int[4] = 1;
            image_int[5] = marked ? 33 : 40;   // 34 marks the header rows
            const auto before = plane(image_int);
            ContrastInvert();
            const int frame = width1 * height1;
            for (int i = 0; i < PLANE_SAMPLES; ++i) {
                const bool header = marked && i < width1_10;
                const int want = (i >= frame || header) ? before[i] : 2 * (32767 - (before[i] >> 1));
                ASSERT_EQ(image_int[i], want) << "full " << full << " marked " << marked << " sample " << i;
            }
        }
    }
}

TEST_F(StretchCommandTest, UndoRestoresEveryStretchAndItsHistoryLine)
{
    struct Case { void (*kernel)(); const char* history; };
    const Case cases[] = {
        {ContrastSine, "Sine Stretch"},
        {logstretch, "Log Stretch"},
        {antilog, "Anti-Log Stretch"},
        {ContrastInvert, "Invert Image to Negative"},
        {ContrastVarnel, "Non-Linear Stretch : power 25"},
        {ContrastPower, "Power Stretch : 0.5"},
        {ContrastNormal, "Normal Stretch : max 200 ,min 10"},
    };
    fill_random(5);
    for (const Case& c : cases) {
        white = 25;
        power_str = 0.5;
        if (c.kernel == ContrastNormal) {
            black = 10;
            white = 200;
        }
        history_clear();
        process_info[0] = "earlier line";
        const auto before = plane(image_int);
        c.kernel();
        EXPECT_EQ(process_info[1], c.history);
        EXPECT_NE(plane(image_int), before) << c.history;
        run_script("command 9\n");
        EXPECT_EQ(plane(image_int), before) << c.history;
        EXPECT_EQ(process_info[0], "earlier line");
        EXPECT_TRUE(process_info[1].empty()) << c.history;
    }
    // The Normal Stretch leaves its levels multiplied by 128.
    EXPECT_EQ(black, 1280u);
    EXPECT_EQ(white, 25600u);
}

TEST_F(StretchCommandTest, ProgressWindowAndFullHistory)
{
    for (int k = 0; k < HISTORY_USED; ++k)
        process_info[k] = "line " + std::to_string(k);
    fill_random(3);
    const auto before = plane(image_int);
    run_script("command 105\n");
    EXPECT_NE(transcript().find("open 6 \"CONTRAST STRETCH\"\nclose 6 2\n"), std::string::npos) << transcript();
    EXPECT_NE(plane(image_int), before);          // the stretch still happens
    EXPECT_EQ(process_info[14], "line 14");       // and the line is dropped
    EXPECT_TRUE(process_info[15].empty());
}

TEST_F(StretchCommandTest, RemoveBackgroundNeedsAUsableLevel)
{
    fill_random(9);
    for (int32_t level : {-1, 0, 2, 256, 1000}) {
        std::memcpy(undo_int, trial_int, sizeof undo_int);
        const auto image_before = plane(image_int), undo_before = plane(undo_int);
        history_clear();
        most_pop = level;
        ContrastBackground();
        EXPECT_EQ(plane(image_int), image_before) << level;
        EXPECT_EQ(plane(undo_int), undo_before) << level;
        EXPECT_EQ(history_count(), 0) << level;
    }
    most_pop = 100;
    const auto before = plane(image_int);
    ContrastBackground();
    EXPECT_EQ(process_info[0], "Background Removed : min 98");
    EXPECT_EQ(black, 98u * 128);
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    background_table(t.data(), 100);
    for (int i = 0; i < width1 * height1; ++i)
        ASSERT_EQ(image_int[i], 2 * t[before[i] >> 1]) << i;

    // From the menu the level is the one the last repaint measured: three levels 1, 2, 3 give 2.
    for (int i = 0; i < PLANE_SAMPLES; ++i)
        image_int[i] = static_cast<uint16_t>((1 + i % 3) << 8);
    history_clear();
    run_script("command 301\ncommand 120\n");   // Fit repaints the window, which measures the levels
    EXPECT_EQ(most_pop, 2);
    EXPECT_EQ(history_count(), 0);
}

TEST_F(StretchCommandTest, NormalStretchDialog)
{
    fill_random(21);
    const auto before = plane(image_int);
    // The white level stops at 300 and never reaches the black level; black stays below white.
    run_script(
        "command 1\n"
        "show 102\nshow 103\n"
        "scroll 103 thumbposition 295\nscroll 103 linedown\nscroll 103 pagedown\nscroll 103 linedown\n"
        "scroll 103 linedown\nscroll 103 linedown\nscroll 103 linedown\nscroll 103 linedown\nshow 104\n"
        "scroll 103 thumbposition 6\nscroll 102 pagedown\nscroll 102 linedown\nscroll 102 linedown\n"
        "scroll 102 linedown\nscroll 102 linedown\nscroll 102 linedown\nscroll 102 linedown\nshow 101\n"
        "scroll 103 linedown\nscroll 103 linedown\nscroll 103 thumbposition 3\nshow 104\n"
        "scroll 103 pagedown\nscroll 102 pagedown\nshow 101\nscroll 102 thumbposition 40\nshow 102\n"
        "press 9\n"
        "press 2\n");
    const std::string out = transcript();
    EXPECT_NE(out.find("open 3 \"Normal Stretch\"\nfield 102 \"0\"\nfield 103 \"255\"\n"), std::string::npos) << out;
    EXPECT_NE(out.find("field 104 \"300\"\n"), std::string::npos) << out;
    EXPECT_NE(out.find("field 101 \"5\"\n"), std::string::npos) << out;          // white 6: black stops at 5
    EXPECT_NE(out.find("field 104 \"8\"\n"), std::string::npos) << out;          // thumb 3 is below black 5
    EXPECT_NE(out.find("field 101 \"15\"\n"), std::string::npos) << out;         // white 18: a page fits
    EXPECT_NE(out.find("field 102 \"15\"\n"), std::string::npos) << out;         // thumb 40 is above white
    EXPECT_NE(out.find("message \"Skyvane - Normal Stretch\" \"Use controls to vary intensity from 0 to 255"),
              std::string::npos) << out;
    EXPECT_NE(out.find("close 3 2\n"), std::string::npos);
    EXPECT_EQ(plane(image_int), before);                 // Cancel: nothing changed
    EXPECT_EQ(history_count(), 0);

    run_script("command 1\nscroll 102 pagedown\nscroll 103 thumbtrack 200\npress 1\n");
    EXPECT_EQ(process_info[0], "Normal Stretch : max 200 ,min 10");
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    normal_table(t.data(), 10, 200);
    for (int i = 0; i < width1 * height1; ++i)
        ASSERT_EQ(image_int[i], 2 * t[before[i] >> 1]) << i;
}

TEST_F(StretchCommandTest, PowerAndNonLinearDialogs)
{
    fill_random(4);
    const auto before = plane(image_int);
    // OK at 1.0 does nothing; Cancel does nothing.
    run_script("command 2\nshow 101\nshow 102\npress 1\ncommand 2\nscroll 101 linedown\npress 2\n");
    EXPECT_EQ(plane(image_int), before);
    EXPECT_EQ(history_count(), 0);
    EXPECT_NE(transcript().find("field 101 \"10\"\nfield 102 \"1.0\"\n"), std::string::npos) << transcript();

    std::string script = "command 2\n";
    for (int k = 0; k < 25; ++k) script += "scroll 101 linedown\n";
    script += "show 102\nshow 101\nscroll 101 pagedown\nscroll 101 thumbposition 5\nshow 101\n";
    for (int k = 0; k < 40; ++k) script += "scroll 101 lineup\n";
    script += "show 102\nshow 101\n";
    for (int k = 0; k < 10; ++k) script += "scroll 101 linedown\n";
    script += "show 102\npress 9\npress 1\n";
    run_script(script);
    const std::string out = transcript();
    EXPECT_NE(out.find("field 102 \"3.0\"\nfield 101 \"30\"\nfield 101 \"30\"\n"), std::string::npos) << out;
    EXPECT_NE(out.find("field 102 \"0.1\"\nfield 101 \"1\"\n"), std::string::npos) << out;
    EXPECT_NE(out.find("field 102 \"1.1\"\n"), std::string::npos) << out;
    EXPECT_NE(out.find("message \"Skyvane - Power Law Stretch\" \"Use controls to vary power from 0.1 to 3.0, "
                       "where powers greater than 1 will increase contrast, and powers less than 1 will reduce "
                       "contrast.\""),
              std::string::npos) << out;
    EXPECT_EQ(process_info[0], "Power Stretch : 1.1");
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    power_table(t.data(), power_str);
    EXPECT_EQ(image_int[0], 2 * t[before[0] >> 1]);

    std::string varnel = "command 117\n";
    for (int k = 0; k < 30; ++k) varnel += "scroll 213 linedown\n";
    varnel += "show 102\n";
    for (int k = 0; k < 60; ++k) varnel += "scroll 213 lineup\n";
    varnel += "show 102\nscroll 213 linedown\npress 9\npress 1\n";
    run_script(varnel);
    const std::string out2 = transcript();
    EXPECT_NE(out2.find("field 102 \"50\"\n"), std::string::npos) << out2;
    EXPECT_NE(out2.find("field 102 \"2\"\n"), std::string::npos) << out2;
    EXPECT_NE(out2.find("message \"Skyvane - NonLiniar Filter\" \"Use controls to vary the Power from 2 to 50\""),
              std::string::npos);
    EXPECT_EQ(process_info[1], "Non-Linear Stretch : power 3");
}
