#include <gtest/gtest.h>

#include <cstring>

#include "camera/calibration.h"
#include "platform/file_system.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
class CalibrationTest : public ProgramTest {
protected:
    // A raw file of the binned geometry whose every sample is V.
    void write_raw(const char* name, uint16_t v, size_t samples = 376 * 290)
    {
        Bytes b(samples * 2);
        for (size_t i = 0; i < samples; ++i) {
            b[2 * i] = uint8_t(v);
            b[2 * i + 1] = uint8_t(v >> 8);
        }
        ASSERT_TRUE(files_.write_all(native(name), b));
    }
    // A FITS file of this program's layout (72 cards, big-endian data) with card 36 as given.
    void write_fits(const char* name, uint16_t stored, const char* card36)
    {
        Bytes b(224640, ' ');
        auto card = [&](int n, const std::string& text) { std::memcpy(b.data() + (n - 1) * 80, text.data(), text.size()); };
        card(1, "SIMPLE  =                    T");
        card(2, "BITPIX  =                   16");
        card(3, "NAXIS   =                    2");
        card(4, "NAXIS1  =                  376");
        card(5, "NAXIS2  =                  290");
        card(36, card36);
        for (int i = 0; i < 376 * 290; ++i) {
            b[5760 + 2 * i] = uint8_t(stored >> 8);
            b[5760 + 2 * i + 1] = uint8_t(stored);
        }
        ASSERT_TRUE(files_.write_all(native(name), b));
    }
};
}

TEST_F(CalibrationTest, DarkSubtractionNeverWraps)
{
    write_raw("c:\\dark.def", 1000);
    image_int[0] = 999;
    image_int[1] = 1000;
    image_int[2] = 1001;
    ASSERT_EQ(auto_remove(0, "c:\\dark.def", image_int, undo_int), 0);
    EXPECT_EQ(image_int[0], 0);
    EXPECT_EQ(image_int[1], 0);
    EXPECT_EQ(image_int[2], 1);
    // cached: a second frame does not read the file again
    ASSERT_TRUE(files_.remove(native("c:\\dark.def")));
    image_int[3] = 5000;
    EXPECT_EQ(auto_remove(1, "c:\\dark.def", image_int, undo_int), 0);
    EXPECT_EQ(image_int[3], 4000);
}

TEST_F(CalibrationTest, FilesOfTheOtherGeometryOrLengthAreRefused)
{
    write_raw("c:\\full.def", 10, 752 * 580);
    EXPECT_EQ(read_calibration_file("c:\\full.def", undo_int), 12);
    write_raw("c:\\short.def", 10, 1000);
    EXPECT_EQ(read_calibration_file("c:\\short.def", undo_int), 12);
    EXPECT_EQ(read_calibration_file("c:\\missing.def", undo_int), 12);
    write_fits("c:\\binned.fit", 0, "BZERO   =   +0.0000000000E+00");
    binned = 0;
    QV_binned();
    EXPECT_EQ(read_calibration_file("c:\\binned.fit", undo_int), 12);
}

TEST_F(CalibrationTest, FitsCard36DecidesTheOffset)
{
    write_fits("c:\\plain.fit", 0x1234, "BZERO   =   +0.0000000000E+00");
    ASSERT_EQ(read_calibration_file("c:\\plain.fit", undo_int), 0);
    EXPECT_EQ(undo_int[500], 0x1234);
    write_fits("c:\\offset.fit", 0x1234, "BZERO   =   +3.2768000000E+04");
    ASSERT_EQ(read_calibration_file("c:\\offset.fit", undo_int), 0);
    EXPECT_EQ(undo_int[500], 0x9234);
    write_fits("c:\\wrap.fit", 0x9000, "BZERO   =   +3.2768000000E+04");
    ASSERT_EQ(read_calibration_file("c:\\wrap.fit", undo_int), 0);
    EXPECT_EQ(undo_int[500], 0x1000);    // modulo 65536
}

TEST_F(CalibrationTest, FlatFieldScalesByTheFlatLevelAndSparesTheEdges)
{
    write_raw("c:\\flat.def", 1000);
    for (int i = 0; i < intlength; ++i)
        image_int[i] = 3000;
    ASSERT_EQ(auto_flatfield(0, "c:\\flat.def", image_int, save_int), 0);
    EXPECT_EQ(image_int[5 * 376 + 100], 3000);    // constant flat: unchanged
    // a flat of 500 where the rest is 1000 doubles the sample, up to 65535
    save_int[50 * 376 + 100] = 500;
    save_int[60 * 376 + 100] = 500;
    image_int[60 * 376 + 100] = 40000;
    save_int[70 * 376 + 100] = 0;
    image_int[70 * 376 + 100] = 0;
    save_int[0 * 376 + 100] = 500;
    save_int[80 * 376 + 1] = 500;
    save_int[80 * 376 + 375] = 500;
    ASSERT_EQ(auto_flatfield(1, "c:\\flat.def", image_int, save_int), 0);
    EXPECT_EQ(image_int[50 * 376 + 100], 6000);
    EXPECT_EQ(image_int[60 * 376 + 100], 65535);
    EXPECT_EQ(image_int[70 * 376 + 100], 1000);   // 0 under a flat of 0 becomes the flat level
    EXPECT_EQ(image_int[0 * 376 + 100], 3000);    // rows 0 and 1, columns 0, 1 and the last: unchanged
    EXPECT_EQ(image_int[80 * 376 + 1], 3000);
    EXPECT_EQ(image_int[80 * 376 + 375], 3000);
}
