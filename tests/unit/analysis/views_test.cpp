#include <gtest/gtest.h>

#include <cstring>

#include "analysis_support.h"
#include "display/histogram.h"
#include "files/fits_file.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "processing/analysis_views.h"
#include "processing/image_label.h"
#include "store/flags.h"
#include "store/history.h"
#include "support/fixture.h"

using ViewsTest = ProgramTest;

TEST_F(ViewsTest, HistogramBarsAndTheListOfCutBars)
{
    std::memset(table, 0, sizeof table);
    table[10] = 1000;
    table[11] = 1055;
    table[12] = 1057;
    table[13] = 1054;   // h = 210: still grey
    for (int i = 100; i < 120; ++i)
        table[i] = 5000 + i;
    EXPECT_EQ(histogram_listing(),
              "val   count\n011    1055\n012    1055\n100    5100\n101    5100\n102    5100\n103    5100\n"
              "104    5100\n105    5105\n106    5105\n107    5105\n108    5105\n109    5105\n110    5110\n"
              "111    5110\n112    5110\n");
    run_script("command 6\ncommand 6\n");
    ASSERT_TRUE(hist_window);
    EXPECT_EQ(hist_already, 1);
    EXPECT_EQ(transcript().find("open 5 \"Histogram of Current Image\""), transcript().rfind("open 5"));
    RecordingPainter painter;
    hist_window->Paint(painter);
    auto bar = [&](int x) {
        for (const auto& l : painter.lines)
            if (l.x1 == x && l.x2 == x && l.y1 == 210)
                return l;
        return DrawnLine{};
    };
    EXPECT_EQ(bar(18).y2, 10);
    EXPECT_EQ(bar(18).pen, (Rgb{128, 128, 128}));
    EXPECT_EQ(bar(19).y2, 0);
    EXPECT_EQ(bar(19).pen, (Rgb{255, 0, 0}));
    EXPECT_EQ(bar(21).y2, 0);
    EXPECT_EQ(bar(21).pen, (Rgb{128, 128, 128}));
    ASSERT_FALSE(painter.texts.empty());
    EXPECT_EQ(painter.texts[0].x, 270);
    EXPECT_EQ(painter.texts[0].s, "val   count");
    EXPECT_EQ(painter.lines[0].pen, (Rgb{0, 0, 255}));
    hist_window->user_clicked(THistDialog::ID_CLOSE);
    EXPECT_EQ(hist_already, 0);
    EXPECT_FALSE(hist_window);
}

TEST_F(ViewsTest, RowProfileOfAFullScaleRowAndItsClickMode)
{
    for (int x = 0; x < width1; ++x)
        at(image_int, x, 28) = 65535;
    run_script("command 16\nlclick 40 28\nshow 101\n");
    EXPECT_EQ(row_plot, 1);
    EXPECT_EQ(obj_y, 28);
    EXPECT_NE(transcript().find("open 12 \"INTENSITY PROFILE OF ONE ROW\"\nfield 101 \"28\""), std::string::npos)
        << transcript();
    const auto points = row_profile_points();
    ASSERT_EQ(points.size(), static_cast<size_t>(width1 + 1));
    EXPECT_EQ(points[0], std::make_pair(4, 198));
    for (int x = 0; x < width1; ++x)
        ASSERT_EQ(points[x + 1], std::make_pair(x + 5, 28)) << x;
    RecordingPainter painter;
    TRH->Paint(painter);
    ASSERT_EQ(painter.fills.size(), 1u);
    EXPECT_EQ(painter.fills[0].rect.right, width1 + 150);
    EXPECT_EQ(painter.lines.size(), static_cast<size_t>(width1));
    EXPECT_EQ(painter.lines[0].pen, (Rgb{128, 128, 128}));
    // The 3-D plot is refused while the row profile is open.
    run_script("command 15\n");
    EXPECT_EQ(intensity_plot, 0);
}

TEST_F(ViewsTest, RowProfileRefusalsAndClosing)
{
    run_script("command 301\ncommand 16\ncommand 301\ncommand 111\ncommand 16\n");
    EXPECT_NE(transcript().find("Sorry, Row Plot only available in standard Geometry."), std::string::npos);
    EXPECT_NE(transcript().find("Sorry, you cannot run Photometry, Row Plot and Merging at the same time"), std::string::npos);
    EXPECT_EQ(row_plot, 0);
    merging = 0;
    run_script("command 16\npress 2\n");
    EXPECT_EQ(row_plot, 0);
    EXPECT_FALSE(TRH);
}

TEST_F(ViewsTest, ThreeDPlotIsDrawnOnceThenCopied)
{
    fill_plane(image_int, 0);
    image_int[6 * 752 + 0] = 384 * 100;    // first trace: up 100, level, then down again
    image_int[6 * 752 + 1] = 384 * 100;
    run_script("command 15\ncommand 15\n");
    ASSERT_TRUE(plot3d_window);
    EXPECT_EQ(intensity_plot, 1);
    RecordingPainter painter;
    plot3d_window->Paint(painter);          // a first paint already happened in the idle loop
    EXPECT_EQ(painter.bitmaps, 1);
    const Bitmap8* plot = plot3d_window->plot();
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->width, 644);
    EXPECT_EQ(plot->height, 384);
    // Trace 6 starts at (130, 192) and rises 100 to (130, 92) in light grey, stays level and
    // falls back in grey.
    EXPECT_EQ(plot->at(130, 150), PLOT_LIGHT);
    EXPECT_EQ(plot->at(131, 92), PLOT_GREY);
    EXPECT_EQ(plot->at(133, 192), PLOT_GREY);
    EXPECT_EQ(plot->at(9, 313), PLOT_GREY);          // trace 127 starts at (9, 313)
    EXPECT_EQ(plot->at(600, 10), PLOT_WHITE);

    Bitmap8 direct;
    int traces = 0;
    draw_3d_plot(image_int, direct, [&] { ++traces; });
    EXPECT_EQ(traces, 122);
    EXPECT_EQ(direct.pixels, plot->pixels);
    // The plot is a snapshot: a changed image does not change it.
    image_int[6 * 752 + 0] = 0;
    RecordingPainter again;
    plot3d_window->Paint(again);
    EXPECT_EQ(plot3d_window->plot()->at(130, 150), PLOT_LIGHT);
    plot3d_window->user_clicked(IDCANCEL);
    EXPECT_EQ(intensity_plot, 0);
}

TEST_F(ViewsTest, BlinkSwitchesBetweenTheImagesWithItsCaptions)
{
    fill_plane(image_int, 0x1200);
    fill_plane(comparison_int, 0x3400);
    run_script("command 125\ncommand 125\n");
    ASSERT_TRUE(TBL);
    EXPECT_EQ(TBL->caption(), "Blinking:- Current Image");
    EXPECT_EQ(TBL->GetText(102), "Comparison");
    TBL->user_clicked(102);
    EXPECT_EQ(TBL->caption(), "Blinking:- Comparison");
    EXPECT_EQ(TBL->GetText(102), "Current Image");
    EXPECT_EQ(pixels_c[1000], 0x34);
    EXPECT_EQ(blink_it, 0);
    TBL->user_clicked(102);
    EXPECT_EQ(TBL->caption(), "Blinking:- Current Image");
    EXPECT_EQ(pixels_c[1000], 0x12);
    TBL->user_clicked(102);
    TBL->user_clicked(1);
    EXPECT_EQ(blinking, 0);
    EXPECT_FALSE(TBL);
    EXPECT_EQ(pixels_c[1000], 0x34);   // the comparison stays until the next refresh
    EXPECT_EQ(transcript().find("open 21"), transcript().rfind("open 21"));
}

namespace {
// The label cell k of row R as bits, read back from the plane.
uint8_t cell_row(int k, int r)
{
    uint8_t bits = 0;
    for (int b = 0; b < 8; ++b)
        if (at(image_int, 8 * k + b, r) == 65535)
            bits |= 0x80 >> b;
    return bits;
}
}

TEST_F(ViewsTest, LabelM42WithoutDateOnAFullFrame)
{
    use_full_frame();
    fill_plane(image_int, 1234);
    do_label_image(0, "M42", image_int);
    const std::array<uint8_t, 10> m = {0x00, 0x63, 0x77, 0x7F, 0x6B, 0x6B, 0x63, 0x63, 0x63, 0x00};
    const std::array<uint8_t, 10> four = {0x00, 0x0C, 0x1C, 0x3C, 0x6C, 0x7E, 0x0C, 0x0C, 0x0C, 0x00};
    for (int r = 1; r < 10; ++r) {
        EXPECT_EQ(cell_row(30, r), m[r]) << r;       // columns 240..247
        EXPECT_EQ(cell_row(31, r), four[r]) << r;
        EXPECT_EQ(cell_row(29, r), 0) << r;
        EXPECT_EQ(cell_row(33, r), 0) << r;
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image_int[i], 17);
    EXPECT_TRUE(is_header_marked(image_int));
    EXPECT_EQ(at(image_int, 400, 9), 0);
    EXPECT_EQ(at(image_int, 400, 10), 1234);
}

TEST_F(ViewsTest, LabelWithTheClockDateAndNoText)
{
    use_full_frame();
    const std::tm t = services().clock->local_time();
    char date[64];
    std::snprintf(date, sizeof date, "  %02d:%02d:%02d UT %02d-%02d-%d ", t.tm_hour, t.tm_min, t.tm_sec, t.tm_mday,
                  t.tm_mon + 1, t.tm_year + 1900);
    ASSERT_EQ(std::strlen(date), 25u);
    const std::u32string line = label_line(1, "");
    EXPECT_EQ(line, std::u32string(20, U' ') + std::u32string(date, date + 25));
    do_label_image(1, "", image_int);
    // The date text starts at column 160: its third character is the first hour digit.
    const auto glyph = label_glyph(static_cast<char32_t>(date[2]));
    for (int r = 1; r < 9; ++r)
        EXPECT_EQ(cell_row(22, r), (*glyph)[r]) << r;
}

TEST_F(ViewsTest, LabelOnABinnedFrameDrawsOnlyTheCellsThatFit)
{
    // 8 characters + the 25-character date after 16 spaces need 49 cells; the row holds 47.
    const std::u32string line = label_line(1, "ABCDEFGH");
    EXPECT_EQ(line.size(), 16u + 8u + 25u);
    fill_plane(image_int, 1);
    do_label_image(1, "ABCDEFGH", image_int);
    const auto a = label_glyph(U'A');
    EXPECT_EQ(cell_row(16, 4), (*a)[4]);
    EXPECT_EQ(at(image_int, 375, 5), 0);         // rows 0..9 cleared to the last column
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(cell_row(0, r), 0) << r;        // cells beyond the row do not wrap into the next
    for (int x = 0; x < width1; ++x)
        ASSERT_EQ(at(image_int, x, 10), 1) << x;  // nothing spills into row 10
}

TEST_F(ViewsTest, LabelCharactersWithoutGlyphAreBlankCellsAndTextIsCutAt30)
{
    fill_plane(image_int, 1);
    do_label_image(0, "A!\xC3\xA9" "B", image_int);      // "A!éB": 4 characters, 30 spaces
    const auto a = label_glyph(U'A');
    const auto b = label_glyph(U'B');
    EXPECT_EQ(cell_row(30, 4), (*a)[4]);
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(cell_row(31, r), 0);
        EXPECT_EQ(cell_row(32, r), 0);
    }
    EXPECT_EQ(cell_row(33, 4), (*b)[4]);
    EXPECT_FALSE(label_glyph(U'!'));
    EXPECT_EQ(label_line(0, std::string(40, 'x')).size(), 17u + 30u);
}

TEST_F(ViewsTest, LabelDialogSwitchesAndText)
{
    fill_plane(image_int, 1);
    run_script("command 8\nshow 102\npress 103\npress 102\nshow 103\ntype 4090 \"M42\"\npress 104\n");
    EXPECT_NE(transcript().find("open 8 \"Label Current Image\"\nfield 102 \"1\"\n"
                                "message \"Skyvane\" \"Sorry, FITs date not set\"\nfield 103 \"0\"\nclose 8 1"),
              std::string::npos)
        << transcript();
    EXPECT_EQ(auto_date, 0);
    EXPECT_EQ(txtbuffer, "M42");
    EXPECT_TRUE(is_header_marked(image_int));
    // M of "M42" on the binned frame: (64 - 3) / 2 = 30 spaces, so columns 240..247.
    EXPECT_EQ(cell_row(30, 2), 0x77);
    run_script("command 8\ntype 4090 \"xyz\"\npress 2\n");
    EXPECT_EQ(cell_row(30, 2), 0x77);
}

TEST_F(ViewsTest, HistoryListsLineZeroAndStopsAtTheFirstShortLine)
{
    process_info[0] = "D";
    process_info[1] = "Normal Stretch";
    process_info[2] = "";
    process_info[3] = "Not shown";
    EXPECT_EQ(history_text(), "D \nNormal Stretch \n");
    for (int i = 0; i < 15; ++i)
        process_info[i] = std::string(39, 'a' + i);
    EXPECT_EQ(history_text().size(), 499u);
    run_script("command 17\n");
    EXPECT_NE(transcript().find("message \"Skyvane\" \"aaaa"), std::string::npos);
}

TEST_F(ViewsTest, LabelTakesTheFitsDateAndAutoDateOffSwitchesItOff)
{
    FITS_Date = "2026-01-15";
    FITS_Time = "21:30:00";
    run_script("command 8\npress 103\nshow 102\nshow 103\ntype 4090 \"M42\"\npress 104\n");
    EXPECT_NE(transcript().find("field 102 \"1\"\nfield 103 \"1\""), std::string::npos) << transcript();
    EXPECT_EQ(auto_FITS_date, 1);
    EXPECT_EQ(label_line(1, "M42"), std::u32string(18, U' ') + U"M42 21:30:00 UT 2026-01-15");
    // The FITS switch keeps its value into the next label; Auto Date off clears both.
    run_script("command 8\nshow 103\npress 102\nshow 102\nshow 103\npress 2\n");
    EXPECT_NE(transcript().find("field 103 \"1\"\nfield 102 \"0\"\nfield 103 \"0\""), std::string::npos) << transcript();
    EXPECT_EQ(auto_FITS_date, 0);
}
