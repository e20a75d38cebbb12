#include <cstdlib>

#include "app/core/commands.h"
#include "display/bmp_file.h"
#include "display/window_display.h"
#include "files/file_choice.h"
#include "files/tiff_file.h"
#include "store/store_state.h"
#include "files_fixture.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

namespace {
uint32_t u32(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24; }
uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
}

TEST_F(FilesTest, TiffLayoutInBothGeometries)
{
    struct Case { int binned; size_t length; uint16_t width, height; uint32_t rows, strip; };
    const Case cases[] = {{1, 109286, 376, 290, 29, 10904}, {0, 436406, 752, 580, 58, 43616}};
    for (const auto& c : cases) {
        binned = c.binned;
        QV_binned();
        image_int[0] = 0x00FF;
        image_int[1] = 0xFF00;
        image_int[2] = 0x1234;
        ASSERT_EQ(SaveTifFile("c:\\t.tif", image_int), 0);
        const auto b = bytes_of("c:\\t.tif");
        ASSERT_EQ(b.size(), c.length);
        EXPECT_EQ(text_at(b, 0, 2), "II");
        EXPECT_EQ(u16(b, 2), 42);
        EXPECT_EQ(u32(b, 4), 8u);
        EXPECT_EQ(u16(b, 8), 13);
        const uint16_t tags[13] = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 296};
        const uint16_t types[13] = {4, 3, 3, 3, 3, 3, 4, 3, 4, 3, 5, 5, 3};
        const uint32_t counts[13] = {1, 1, 1, 1, 1, 1, 10, 1, 1, 10, 1, 1, 1};
        const uint32_t values[13] = {0, c.width, c.height, 8, 1, 1, 186, 1, c.rows, 226, 170, 178, 3};
        for (int k = 0; k < 13; ++k) {
            const size_t at = 10 + 12 * static_cast<size_t>(k);
            EXPECT_EQ(u16(b, at), tags[k]);
            EXPECT_EQ(u16(b, at + 2), types[k]);
            EXPECT_EQ(u32(b, at + 4), counts[k]);
            EXPECT_EQ(u32(b, at + 8), values[k]) << "tag " << tags[k];
        }
        EXPECT_EQ(u32(b, 166), 0u);
        EXPECT_EQ(u32(b, 170), 510u);
        EXPECT_EQ(u32(b, 174), 6u);
        EXPECT_EQ(u32(b, 178), 256u);
        EXPECT_EQ(u32(b, 182), 6u);
        for (uint32_t k = 0; k < 10; ++k) {
            EXPECT_EQ(u32(b, 186 + 4 * k), 246 + k * c.strip);
            EXPECT_EQ(u16(b, 226 + 2 * k), c.strip);
        }
        EXPECT_EQ(b[246], 0);
        EXPECT_EQ(b[247], 255);
        EXPECT_EQ(b[248], 0x12);
    }
}

TEST_F(FilesTest, TiffIgnoresTheDisplayOptions)
{
    fill_test_image();
    ASSERT_EQ(SaveTifFile("c:\\plain.tif", image_int), 0);
    Geo = 1;
    colour_palette = 1;
    image_prepare();
    ASSERT_EQ(SaveTifFile("c:\\shown.tif", image_int), 0);
    EXPECT_EQ(bytes_of("c:\\plain.tif"), bytes_of("c:\\shown.tif"));
}

TEST_F(FilesTest, TiffSaveThroughTheDialogAndItsFailure)
{
    run_script("command 24334\nchoose \"c:\\\\T\\\\Moon\"\n");
    EXPECT_EQ(bytes_of("c:\\t\\moon.tif").size(), 109286u);
    EXPECT_EQ(Filter_Index, 3);
    files_.inject({"moon", false, 1000});
    run_script("command 24334\nchoose \"c:\\\\t\\\\moon.tif\"\nreply yes\n");
    EXPECT_NE(transcript().find("message \"Skyvane\" \"Unable to create file, check disk space\""), std::string::npos);
    EXPECT_EQ(bytes_of("c:\\t\\moon.tif").size(), 109286u);
}

TEST_F(FilesTest, CopyPutsTheDisplayedBitmapOnTheClipboard)
{
    EXPECT_FALSE(command_state(24359).enabled);
    dispatch_command(24359);
    EXPECT_EQ(clipboard_.puts(), 0);
    colour_palette = 1;
    image_prepare();
    EXPECT_TRUE(command_state(24359).enabled);
    dispatch_command(24359);
    ASSERT_TRUE(clipboard_.content());
    EXPECT_EQ(clipboard_.content()->width, 376);
    EXPECT_EQ(clipboard_.content()->palette, Dib->palette);
    EXPECT_EQ(clipboard_.content()->pixels, Dib->pixels);
}

TEST_F(FilesTest, PrintHandsTheDisplayFileToThePrinter)
{
    image_prepare();
    dispatch_command(114);
    dispatch_command(116);
    EXPECT_EQ(printer_.setups(), 1);
    EXPECT_EQ(printer_.prints(), 1);
    EXPECT_EQ(printer_.last_printed(), native(DISPLAY_BMP));
    EXPECT_EQ(transcript(), "caption \"Skyvane - (Untitled)\"\n");   // printing prints no line

    const std::string pdf = root() + "/out.pdf";
    ::setenv("SKYVANE_PRINT_TO", pdf.c_str(), 1);
    dispatch_command(116);
    ::unsetenv("SKYVANE_PRINT_TO");
    std::ifstream in(pdf, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(text.find("/Width 376 /Height 290"), std::string::npos);
}
