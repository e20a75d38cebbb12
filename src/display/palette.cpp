#include "palette.h"

#include <cmath>

#include "histogram.h"
#include "store/flags.h"

ColourTable pallet_c;

void build_grey_palette()
{
    for (int i = 0; i < 256; ++i)
        pallet_c[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)};
}

int palette_multiplier(int focus_stretch_value)
{
    static const int multipliers[7] = {48, 32, 16, 8, 4, 2, 1};
    int k = focus_stretch_value - 10;
    if (k < 0) k = 0;
    if (k > 6) k = 6;
    return multipliers[k];
}

namespace {
// The lookup table in front of the palette, or nothing when no stretch applies.
bool build_lut(std::array<int, 256>& lut)
{
    if (max_stretch || focus_stretch_only) {
        const int m = palette_multiplier(focus_stretch);
        for (int i = 0; i < 256; ++i)
            lut[i] = i * m > 254 ? 254 : i * m;
        return true;
    }
    if (stretch_palette) {
        // The exponents are single-precision constants widened to double.
        const double low = static_cast<double>(-0.7f);
        const double gamma = static_cast<double>(0.3f);
        const double k = 1.0 / std::pow(255.0, low);
        for (int i = 0; i < 256; ++i) {
            if (i <= most_pop) {
                lut[i] = 0;
            } else {
                const double v = std::trunc(k * std::pow(static_cast<double>(i - most_pop), gamma));
                lut[i] = v > 255.0 ? 255 : static_cast<int>(v);
            }
        }
        return true;
    }
    return false;
}

Rgb false_colour(int v)
{
    if (v > 240)
        return {static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v)};
    const int u = 255 - v;
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v * v / 256), static_cast<uint8_t>(u - u * u / 256)};
}
}

ColourTable display_colour_table()
{
    std::array<int, 256> lut {};
    const bool stretched = build_lut(lut);
    ColourTable colours;
    for (int i = 0; i < 256; ++i) {
        if (colour_palette) {
            colours[i] = false_colour(stretch_palette ? lut[i] : i);
        } else {
            const auto g = static_cast<uint8_t>(stretched ? lut[i] : i);
            colours[i] = {g, g, g};
        }
    }
    return colours;
}
