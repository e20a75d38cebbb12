#include <gtest/gtest.h>

#include <cstring>

#include "analysis_support.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "processing/merge_images.h"
#include "store/flags.h"
#include "support/fixture.h"

using ComparisonTest = ProgramTest;

namespace {
std::string card(const std::string& keyword, const std::string& value)
{
    std::string c = keyword;
    c.resize(8, ' ');
    c += "= ";
    c += std::string(20 - std::min<size_t>(20, value.size()), ' ') + value;
    c.resize(80, ' ');
    return c;
}

// A FITS file of this program's layout: 72 cards, then big-endian samples.
Bytes fits_file(int width, int height, bool zero_offset, uint16_t stored)
{
    std::string header = card("SIMPLE", "T") + card("BITPIX", "16") + card("NAXIS", "2") +
                         card("NAXIS1", std::to_string(width)) + card("NAXIS2", std::to_string(height));
    while (header.size() < 35 * 80)
        header += std::string(80, ' ');
    std::string bzero = zero_offset ? "BZERO   =   +0.0000000000E+00" : "BZERO   =   +3.2768000000E+04";
    bzero.resize(80, ' ');
    header += bzero;
    while (header.size() < 72 * 80)
        header += std::string(80, ' ');
    Bytes bytes(header.begin(), header.end());
    const size_t length = width == 376 ? 224640 : 878880;
    for (int i = 0; i < width * height; ++i) {
        bytes.push_back(static_cast<uint8_t>(stored >> 8));
        bytes.push_back(static_cast<uint8_t>(stored & 0xFF));
    }
    bytes.resize(length, 0);
    return bytes;
}
}

TEST_F(ComparisonTest, LoaderAcceptsOnlyFilesOfTheCurrentGeometry)
{
    Bytes native_binned(218080);
    for (size_t i = 0; i < native_binned.size(); i += 2) {
        native_binned[i] = 0x34;
        native_binned[i + 1] = 0x12;
    }
    struct Case { const char* name; Bytes bytes; int full; int result; uint16_t sample; };
    std::vector<Case> cases;
    cases.push_back({"c:\\cmp\\native.qv", native_binned, 0, 0, 0x1234});
    cases.push_back({"c:\\cmp\\native2.qv", native_binned, 1, 12, 0});
    cases.push_back({"c:\\cmp\\f0.fit", fits_file(376, 290, true, 0x0102), 0, 0, 0x0102});
    cases.push_back({"c:\\cmp\\f1.fit", fits_file(376, 290, false, 0x8001), 0, 0, 0x0001});
    cases.push_back({"c:\\cmp\\f2.fit", fits_file(376, 290, true, 5), 1, 12, 0});
    cases.push_back({"c:\\cmp\\full.fit", fits_file(752, 580, true, 9), 1, 0, 9});
    cases.push_back({"c:\\cmp\\full2.fit", fits_file(752, 580, true, 9), 0, 12, 0});
    Bytes bad_card = fits_file(376, 290, true, 5);
    bad_card[80 + 29] = '8';   // BITPIX 18
    cases.push_back({"c:\\cmp\\bad.fit", bad_card, 0, 12, 0});
    cases.push_back({"c:\\cmp\\short.qv", Bytes(218079), 0, 12, 0});
    cases.push_back({"c:\\cmp\\missing.qv", {}, 0, 11, 0});
    for (const Case& c : cases) {
        if (!c.bytes.empty()) {
            ASSERT_TRUE(files_.write_all(native(c.name), c.bytes));
        }
        binned = c.full ? 0 : 1;
        QV_binned();
        ComparisonFileName = c.name;
        fill_plane(comparison_int, 7);
        EXPECT_EQ(load_comparison_file(comparison_int), c.result) << c.name;
        if (c.result == 0) {
            EXPECT_EQ(comparison_int[0], c.sample) << c.name;
            EXPECT_EQ(comparison_int[width1 * height1 - 1], c.sample) << c.name;
        }
    }
}

TEST_F(ComparisonTest, CommandRecordsThePathAndReportsFailures)
{
    ASSERT_TRUE(files_.write_all(native("c:\\images\\cmp.qv"), Bytes(218080, 0x11)));
    run_script("command 124\nchoose \"c:\\\\images\\\\cmp.qv\"\n");
    EXPECT_EQ(comparison_loaded, 1);
    EXPECT_EQ(comparison_int[10], 0x1111);
    EXPECT_NE(transcript().find("filedialog open \"Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files(*.*)|*.*|\""),
              std::string::npos);
    EXPECT_EQ(load_comparison, 0);
    // Cancel reads the previous file again; a file of the other geometry is refused.
    binned = 0;
    QV_binned();
    run_script("command 124\nchoose cancel\n");
    EXPECT_NE(transcript().find("Sorry, chosen Comparison file is not an QV or FITs File"), std::string::npos);
    ComparisonFileName.clear();
    run_script("command 124\nchoose cancel\n");
    EXPECT_NE(transcript().find("Failed to Open QV or suitable FITs File"), std::string::npos);
    EXPECT_EQ(comparison_loaded, 1);
}
