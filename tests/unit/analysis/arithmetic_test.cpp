#include <gtest/gtest.h>

#include "analysis_support.h"
#include "processing/image_arithmetic.h"
#include "platform/file_system.h"
#include "processing/merge_images.h"
#include "store/flags.h"
#include "store/history.h"
#include "support/fixture.h"

using ArithmeticTest = ProgramTest;

TEST_F(ArithmeticTest, SubtractClampsAtZeroAndAverageTruncates)
{
    struct Case { uint16_t p, q, difference, mean; };
    const Case cases[] = {
        {1000, 300, 700, 650}, {300, 1000, 0, 650}, {500, 500, 0, 500},
        {65535, 65534, 1, 65534}, {65535, 65535, 0, 65535}, {0, 0, 0, 0}, {1, 0, 1, 0},
    };
    const int n = static_cast<int>(std::size(cases));
    for (int i = 0; i < n; ++i) {
        image_int[i] = cases[i].p;
        trial_int[i] = cases[i].q;
        undo_int[i] = cases[i].p;
    }
    // Both touch every one of the intlength samples, the spare ones at the end included.
    image_int[intlength - 1] = 9;
    trial_int[intlength - 1] = 4;
    undo_int[intlength - 1] = 9;
    image_int[intlength] = 9;
    do_subtract_image(image_int, trial_int);
    do_average_image(undo_int, trial_int);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(image_int[i], cases[i].difference) << i;
        EXPECT_EQ(undo_int[i], cases[i].mean) << i;
    }
    EXPECT_EQ(image_int[intlength - 1], 5);
    EXPECT_EQ(undo_int[intlength - 1], 6);
    EXPECT_EQ(image_int[intlength], 9);
}

TEST_F(ArithmeticTest, FlatLevelOfAConstantFlatInBothGeometries)
{
    fill_plane(trial_int, 1000);
    EXPECT_DOUBLE_EQ(flat_level(trial_int), 1000.0);
    use_full_frame();
    fill_plane(trial_int, 1000);
    EXPECT_DOUBLE_EQ(flat_level(trial_int), 1000.0);
    // Only rows 10..19, columns 5..width2-1 count.
    at(trial_int, 4, 12) = 0;
    at(trial_int, width2, 12) = 0;
    at(trial_int, 100, 9) = 0;
    at(trial_int, 100, 20) = 0;
    EXPECT_DOUBLE_EQ(flat_level(trial_int), 1000.0);
    at(trial_int, 5, 10) = 1000 + 7460;
    EXPECT_DOUBLE_EQ(flat_level(trial_int), 1001.0);
}

TEST_F(ArithmeticTest, FlatFieldOfOneRow)
{
    fill_plane(image_int, 2000);
    fill_plane(trial_int, 1000);
    struct Case { int x; uint16_t v, f, result; };
    const Case cases[] = {
        {10, 2000, 1000, 2000},    // flat at the level: unchanged
        {11, 2000, 500, 4000},     // half the level: doubled
        {12, 40000, 500, 65535},   // ceiling
        {13, 0, 0, 1000},          // nothing under nothing: the level
        {14, 1234, 0, 1234},       // anything else under nothing keeps its value
        {15, 1001, 3000, 333},     // truncated
        {0, 2000, 500, 2000},      // columns 0, 1 and the last are never changed
        {1, 2000, 500, 2000},
        {375, 2000, 500, 2000},
        {374, 2000, 500, 4000},
    };
    for (const Case& c : cases) {
        at(image_int, c.x, 20) = c.v;
        at(trial_int, c.x, 20) = c.f;
    }
    do_flat_field(image_int, trial_int, 1000.0, 20);
    for (const Case& c : cases)
        EXPECT_EQ(at(image_int, c.x, 20), c.result) << c.x;
    EXPECT_EQ(at(image_int, 11, 19), 2000);
    EXPECT_EQ(at(image_int, 11, 21), 2000);
}

namespace {
void ramp(uint16_t* plane, int base)
{
    for (int y = 0; y < height1; ++y)
        for (int x = 0; x < width1; ++x)
            at(plane, x, y) = static_cast<uint16_t>(base + x + 3 * y);
}
}

TEST_F(ArithmeticTest, MergeWithBothPointsEqualDoublesWhereTheSourceIsValid)
{
    fill_plane(image_int, 40000);   // partner
    fill_plane(trial_int, 30000);   // first image
    at(image_int, 50, 50) = 100;
    at(trial_int, 50, 50) = 200;
    do_merge(image_int, trial_int, 120, 100, 120, 100, 0);
    EXPECT_EQ(at(image_int, 50, 50), 300);
    EXPECT_EQ(at(image_int, 1, 1), 65535);       // clamped
    EXPECT_EQ(at(image_int, 0, 5), 30000);       // first column: no valid source
    EXPECT_EQ(at(image_int, width2, 5), 30000);  // last column
    EXPECT_EQ(at(image_int, 5, 0), 30000);       // row st = 0
    EXPECT_EQ(at(image_int, 5, height2), 65535);
    for (int i = 0; i < intlength; ++i)
        ASSERT_EQ(image_int[i], trial_int[i]) << i;   // the result is copied back

    fill_plane(image_int, 40001);
    fill_plane(trial_int, 30000);
    do_merge(image_int, trial_int, 120, 100, 120, 100, 1);
    EXPECT_EQ(at(image_int, 7, 7), 35000);
    EXPECT_EQ(at(image_int, 0, 7), 30000);
}

TEST_F(ArithmeticTest, MergeShiftedByFiveColumns)
{
    ramp(image_int, 0);
    fill_plane(trial_int, 1);
    do_merge(image_int, trial_int, 100, 100, 105, 100, 0);   // dx = +5, dy = 0
    // Column x takes partner column x + 5 while 0 < x + 5 < width2.
    EXPECT_EQ(at(image_int, 0, 20), 1 + 5 + 60);
    EXPECT_EQ(at(image_int, 200, 20), 1 + 205 + 60);
    EXPECT_EQ(at(image_int, width2 - 6, 20), 1 + width2 - 1 + 60);
    EXPECT_EQ(at(image_int, width2 - 5, 20), 1);   // source would be the last column
    EXPECT_EQ(at(image_int, width2, 20), 1);
    EXPECT_EQ(at(image_int, 200, 0), 1);          // source row 0 = st is never used
    EXPECT_EQ(at(image_int, 200, 1), 1 + 205 + 3);

    ramp(image_int, 0);
    fill_plane(trial_int, 1);
    do_merge(image_int, trial_int, 100, 100, 100, 97, 0);     // dy = -3: source rows start at 1
    EXPECT_EQ(at(image_int, 10, 3), 1);
    EXPECT_EQ(at(image_int, 10, 4), 1 + 10 + 3);
    EXPECT_EQ(at(image_int, 10, height2), 1 + 10 + 3 * (height2 - 3));
}

TEST_F(ArithmeticTest, MergeLeavesTheHeaderRowsOfAMarkedImage)
{
    fill_plane(image_int, 100);
    fill_plane(trial_int, 200);
    trial_int[4] = 17;
    trial_int[5] = 17;
    do_merge(image_int, trial_int, 10, 10, 10, 10, 0);
    EXPECT_EQ(at(image_int, 50, 9), 200);
    EXPECT_EQ(at(image_int, 50, 10), 200);   // row st itself has no valid source
    EXPECT_EQ(at(image_int, 50, 11), 300);
    EXPECT_EQ(image_int[5], 17);
}

TEST_F(ArithmeticTest, PartnerCommandsTakeTheUndoCopyAndWriteTheirHistory)
{
    fill_plane(image_int, 5000);
    fill_plane(trial_int, 1000);
    apply_partner_image('s');
    EXPECT_EQ(at(image_int, 30, 30), 4000);
    EXPECT_EQ(at(undo_int, 30, 30), 5000);
    EXPECT_EQ(process_info[0], "Dark Frame Subtracted");

    fill_plane(trial_int, 1000);
    at(trial_int, 30, 30) = 500;
    apply_partner_image('f');
    EXPECT_EQ(at(image_int, 30, 30), 8000);
    EXPECT_EQ(at(image_int, 31, 30), 4000);
    EXPECT_EQ(at(image_int, 30, 0), 4000);   // row st is left alone
    EXPECT_EQ(process_info[1], "Flat Field Applied");

    fill_plane(trial_int, 0);
    apply_partner_image('a');
    EXPECT_EQ(at(image_int, 31, 30), 2000);
    EXPECT_EQ(process_info[2], "");          // averaging writes no history
}

TEST_F(ArithmeticTest, FlatFieldOfAMarkedImageStartsBelowTheHeader)
{
    fill_plane(image_int, 1000);
    image_int[4] = 17;
    image_int[5] = 17;
    fill_plane(trial_int, 500);
    apply_partner_image('f');
    EXPECT_EQ(at(image_int, 30, 10), 1000);
    EXPECT_EQ(at(image_int, 30, 11), 1000 * 500 / 500);
    fill_plane(trial_int, 500);
    at(trial_int, 30, 25) = 250;
    at(trial_int, 30, 5) = 250;
    apply_partner_image('f');
    EXPECT_EQ(at(image_int, 30, 25), 2000);
    EXPECT_EQ(at(image_int, 30, 5), 1000);
}

namespace {
Bytes raw_file(uint16_t value, uint16_t special = 0, int special_index = -1)
{
    Bytes bytes(218080);
    for (int i = 0; i < 109040; ++i) {
        const uint16_t v = i == special_index ? special : value;
        bytes[2 * i] = static_cast<uint8_t>(v & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    return bytes;
}
}

TEST_F(ArithmeticTest, MenuCommandsReadThePartnerThroughTheChooser)
{
    ASSERT_TRUE(files_.write_all(native("c:\\cal\\flat"), raw_file(1000, 500, 30 * 376 + 30)));
    ASSERT_TRUE(files_.write_all(native("c:\\cal\\dark"), raw_file(300)));
    fill_plane(image_int, 2000);
    run_script("command 115\nchoose \"c:\\\\cal\\\\flat\"\n"
               "command 110\nchoose \"c:\\\\cal\\\\dark\"\n"
               "command 126\nchoose \"c:\\\\cal\\\\dark\"\n"
               "command 110\nchoose cancel\n");
    EXPECT_NE(transcript().find("filedialog open \"Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files(*.*)|*.*|\" -> "
                                "\"c:\\\\cal\\\\flat\"\nopen 6 \"FLAT FIELD PROGRESS\"\nclose 6 2\n"),
              std::string::npos)
        << transcript();
    // Flat: 2000 x 1000 / 500 = 4000 under the dim flat sample; subtract 300; average with 300.
    EXPECT_EQ(at(image_int, 30, 30), (4000 - 300 + 300) / 2);
    EXPECT_EQ(at(image_int, 31, 30), (2000 - 300 + 300) / 2);
    EXPECT_EQ(process_info[0], "Flat Field Applied");
    EXPECT_EQ(process_info[1], "Dark Frame Subtracted");
    EXPECT_EQ(process_info[2], "");
    EXPECT_EQ(lastdir, native("c:\\cal"));
}

TEST_F(ArithmeticTest, AnUnreadablePartnerChangesNothingNotEvenTheUndoCopy)
{
    ASSERT_TRUE(files_.write_all(native("c:\\cal\\full"), Bytes(872320)));   // the other geometry
    fill_plane(image_int, 2000);
    fill_plane(undo_int, 77);
    run_script("command 110\nchoose \"c:\\\\cal\\\\full\"\n");
    EXPECT_NE(transcript().find("message \"Skyvane\""), std::string::npos);
    EXPECT_EQ(at(image_int, 30, 30), 2000);
    EXPECT_EQ(at(undo_int, 30, 30), 77);
    EXPECT_EQ(process_info[0], "");
}
