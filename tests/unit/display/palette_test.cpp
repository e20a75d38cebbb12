#include <gtest/gtest.h>

#include "display/histogram.h"
#include "display/palette.h"
#include "store/flags.h"
#include "support/fixture.h"

using PaletteTest = ProgramTest;

namespace {
uint8_t grey(const ColourTable& t, int i)
{
    EXPECT_EQ(t[i].r, t[i].g);
    EXPECT_EQ(t[i].g, t[i].b);
    return t[i].r;
}
}

TEST_F(PaletteTest, FocusStretchMultipliesUpTo254)
{
    max_stretch = 1;
    focus_stretch = 10;      // multiplier 48
    auto t = display_colour_table();
    EXPECT_EQ(grey(t, 0), 0);
    EXPECT_EQ(grey(t, 5), 240);
    EXPECT_EQ(grey(t, 6), 254);
    EXPECT_EQ(grey(t, 255), 254);
    const int multipliers[] = {48, 32, 16, 8, 4, 2, 1};
    for (int k = 10; k <= 16; ++k)
        EXPECT_EQ(palette_multiplier(k), multipliers[k - 10]);
    max_stretch = 0;
    focus_stretch_only = 1;
    focus_stretch = 16;
    t = display_colour_table();
    EXPECT_EQ(grey(t, 255), 254);   // even the multiplier 1 stops at 254
    EXPECT_EQ(grey(t, 100), 100);
}

TEST_F(PaletteTest, AutoStretchBlackensTheBackground)
{
    stretch_palette = 1;
    most_pop = 20;
    const auto t = display_colour_table();
    for (int i = 0; i <= 20; ++i)
        EXPECT_EQ(grey(t, i), 0) << i;
    EXPECT_EQ(grey(t, 21), 48);
    EXPECT_EQ(grey(t, 128), 197);
    EXPECT_LE(grey(t, 255), 255);
}

TEST_F(PaletteTest, FalseColourRunsFromBlueToWhite)
{
    colour_palette = 1;
    auto t = display_colour_table();
    EXPECT_EQ(t[0], (Rgb{0, 0, 1}));
    EXPECT_EQ(t[128], (Rgb{128, 64, 64}));
    EXPECT_EQ(t[240], (Rgb{240, 225, 15}));
    EXPECT_EQ(t[241], (Rgb{241, 241, 241}));
    // the multiplier does not change the false-colour palette unless the auto stretch is on
    max_stretch = 1;
    focus_stretch = 10;
    t = display_colour_table();
    EXPECT_EQ(t[5], (Rgb{5, 0, 6}));
    stretch_palette = 1;
    t = display_colour_table();
    EXPECT_EQ(t[5], (Rgb{240, 225, 15}));
}

TEST_F(PaletteTest, GreyPaletteIsTheIdentity)
{
    build_grey_palette();
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(pallet_c[i], (Rgb{uint8_t(i), uint8_t(i), uint8_t(i)}));
    const auto t = display_colour_table();
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(grey(t, i), i);
}
