// The display palettes: the grey palette built at start-up and the colour table of each refresh,
// from the display options.
#pragma once
#include <array>

#include "platform/painter.h"

using ColourTable = std::array<Rgb, 256>;

extern ColourTable pallet_c;   // grey entries i, i, i
// Builds the grey palette once at start-up.
void build_grey_palette();

// The palette multiplier for focus_stretch 10..16: 48, 32, 16, 8, 4, 2, 1.
int palette_multiplier(int focus_stretch_value);

// The colour table of the next bitmap, from colour_palette, stretch_palette, max_stretch,
// focus_stretch_only, focus_stretch and most_pop.
ColourTable display_colour_table();
