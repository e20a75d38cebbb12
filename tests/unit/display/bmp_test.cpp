#include <gtest/gtest.h>

#include "display/bmp_file.h"
#include "display/display_frame.h"
#include "display/window_display.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "support/fixture.h"

namespace {
class BmpTest : public ProgramTest {
protected:
    Bytes display_file(const char* name = DISPLAY_BMP) { return *files_.read(native(name)); }
    static uint32_t u32(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }
    // Pixel (x, y), y from the top, of a bottom-up 8-bit BMP of WIDTH x HEIGHT.
    static uint8_t pixel(const Bytes& b, int width, int height, int x, int y) { return b[1078 + size_t(height - 1 - y) * width + x]; }
    void fill(uint16_t v) { for (auto& s : image_int) s = v; }
};
}

TEST_F(BmpTest, EverySizeHasItsFileLengthAndHeader)
{
    struct Case { const char* what; int focus; int tracking; int binned; int geo; int big; int w, h; uint32_t size; const char* file; };
    const Case cases[] = {
        {"binned", 0, 0, 1, 0, 0, 376, 290, 110118, DISPLAY_BMP},
        {"resampled", 0, 0, 1, 1, 0, 564, 452, 256006, DISPLAY_BMP},
        {"enlarged", 0, 0, 1, 0, 1, 564, 435, 246418, DISPLAY_BMP},
        {"full", 0, 0, 0, 0, 0, 752, 580, 437238, DISPLAY_BMP},
        {"focus", 1, 0, 1, 0, 0, 128, 128, 17462, FOCUS_BMP},
        {"tracking", 0, 1, 0, 0, 0, 128, 128, 17462, FOCUS_BMP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        focus_mode = c.focus;
        tracking = c.tracking;
        binned = c.binned;
        QV_binned();
        Geo = c.geo;
        Big = c.big;
        fill(0x1234);
        DisplayImage();
        ASSERT_EQ(write_bmp(pixels_c, pixels_bmp, focus_mode, Geo), 0);
        const Bytes b = display_file(c.file);
        ASSERT_EQ(b.size(), c.size);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(u32(b, 2), c.size);
        EXPECT_EQ(u32(b, 6), 0u);
        EXPECT_EQ(u32(b, 10), 1078u);
        EXPECT_EQ(u32(b, 14), 40u);
        EXPECT_EQ(u32(b, 18), uint32_t(c.w));
        EXPECT_EQ(u32(b, 22), uint32_t(c.h));
        EXPECT_EQ(b[26] | b[27] << 8, 1);
        EXPECT_EQ(b[28] | b[29] << 8, 8);
        for (int i = 30; i < 54; ++i)
            ASSERT_EQ(b[i], 0) << i;
        // grey palette entry 200: blue, green, red, 0
        EXPECT_EQ(b[54 + 800], 200);
        EXPECT_EQ(b[54 + 801], 200);
        EXPECT_EQ(b[54 + 802], 200);
        EXPECT_EQ(b[54 + 803], 0);
        EXPECT_EQ(pixel(b, c.w, c.h, 0, 0), 0x12);
        EXPECT_EQ(pixel(b, c.w, c.h, c.w - 1, c.h - 1), 0x12);
    }
}

TEST_F(BmpTest, RowsAreWrittenBottomUp)
{
    // binned: the start-up ramp, row y has samples y * 225
    image_prepare();
    const Bytes b = display_file();
    EXPECT_EQ(pixel(b, 376, 290, 5, 0), 0);
    EXPECT_EQ(pixel(b, 376, 290, 5, 289), 65025 >> 8);
    EXPECT_EQ(pixel(b, 376, 290, 5, 100), (100 * 225) >> 8);
    // focus: the first source row is the file's last row
    focus_mode = 1;
    for (int i = 0; i < 16384; ++i)
        image_int[i] = uint16_t((i / 128) << 8);
    DisplayImage();
    ASSERT_EQ(write_bmp(pixels_c, pixels_bmp, 1, 0), 0);
    const Bytes f = display_file(FOCUS_BMP);
    EXPECT_EQ(f[1078 + 127 * 128], 0);
    EXPECT_EQ(f[1078], 127);
    EXPECT_EQ(focussed, 1);
}

TEST_F(BmpTest, EnlargementRepeatsEveryOtherRowAndColumn)
{
    for (int y = 0; y < 290; ++y)
        for (int x = 0; x < 376; ++x)
            image_int[y * 376 + x] = uint16_t(((y * 7 + x * 3) % 256) << 8);
    Big = 1;
    image_prepare();
    const Bytes b = display_file();
    ASSERT_EQ(b.size(), 246418u);
    auto src = [](int x, int y) { return uint8_t((y * 7 + x * 3) % 256); };
    for (int oy = 0; oy < 435; ++oy)
        for (int ox = 0; ox < 564; ++ox) {
            const int sy = oy % 3 == 0 ? 2 * (oy / 3) : 2 * (oy / 3) + 1;
            const int sx = 2 * (ox / 3) + ox % 3;
            // the last column of a row takes the first sample of the next row
            const uint8_t want = sx == 376 ? (sy + 1 < 290 ? src(0, sy + 1) : image_int[109040] >> 8) : src(sx, sy);
            ASSERT_EQ(pixel(b, 564, 435, ox, oy), want) << ox << "," << oy;
        }
    // the worked cases: rows 1 and 2 show source row 1, columns 2 and 3 source column 2
    EXPECT_EQ(pixel(b, 564, 435, 9, 1), src(6, 1));
    EXPECT_EQ(pixel(b, 564, 435, 9, 2), src(6, 1));
    EXPECT_EQ(pixel(b, 564, 435, 2, 0), src(2, 0));
    EXPECT_EQ(pixel(b, 564, 435, 3, 0), src(2, 0));
}

TEST_F(BmpTest, ResampleInterpolatesAndKeepsTheTopLeftSample)
{
    for (int y = 0; y < 290; ++y)
        for (int x = 0; x < 376; ++x)
            image_int[y * 376 + x] = uint16_t((x % 2 ? 200 : 100) << 8);
    image_int[0] = 0x5500;
    Geo = 1;
    image_prepare();
    const Bytes b = display_file();
    ASSERT_EQ(b.size(), 256006u);
    EXPECT_EQ(pixel(b, 564, 452, 0, 0), 0x55);
    // row 10 (no neighbour changed): column 3 -> fx = 2.0 exactly -> 100; column 1 -> fx 0.666.. -> 166
    EXPECT_EQ(pixel(b, 564, 452, 3, 10), 100);
    EXPECT_EQ(pixel(b, 564, 452, 1, 10), 166);
}

TEST_F(BmpTest, FailedWritesReportTheirMessageAndKeepTheOldFile)
{
    image_prepare();
    const Bytes before = display_file();
    struct Case { WriteFault fault; const char* text; };
    const Case cases[] = {
        {{"skyvane.bmp", true, -1, false}, "Failed to create temp bitmap"},
        {{"skyvane.bmp", false, 100, false}, "Unable to create temp bitmap file header"},
        {{"skyvane.bmp", false, 5000, false}, "Unable to create temp bitmap file"},
        {{"skyvane.bmp", false, -1, true}, "Unable to create temp bitmap file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        files_.inject(c.fault);
        for (auto& s : image_int) s = 0xff00;
        out_.str("");
        image_prepare();
        EXPECT_NE(transcript().find(std::string("message \"Skyvane\" \"") + c.text + "\""), std::string::npos) << transcript();
        EXPECT_EQ(display_file(), before);
        ASSERT_TRUE(Dib);
        EXPECT_EQ(Dib->at(0, 0), 0);     // the previous bitmap is still shown
    }
    files_.inject({});
    image_prepare();
    EXPECT_EQ(Dib->at(0, 0), 0xff);
}

TEST_F(BmpTest, AnUnreadableBitmapKeepsThePreviousOne)
{
    image_prepare();
    ASSERT_TRUE(Dib);
    ASSERT_TRUE(files_.write_all(native(DISPLAY_BMP), Bytes{'B', 'M', 1, 2}));
    out_.str("");
    LoadBitmapFile(DISPLAY_BMP);
    EXPECT_NE(transcript().find("\"Cannot open bitmap file\""), std::string::npos);
    EXPECT_EQ(Dib->width, 376);
}

TEST_F(BmpTest, LoadingAFullImageShowsTheFullFrame)
{
    Geo = 1;
    binned = 0;
    QV_binned();
    image_prepare();
    ASSERT_TRUE(Dib);
    EXPECT_EQ(Dib->width, 752);
    EXPECT_EQ(Dib->height, 580);
}
