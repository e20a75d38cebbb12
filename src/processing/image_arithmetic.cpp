#include "image_arithmetic.h"

#include <algorithm>

#include "store/geometry.h"

void do_subtract_image(uint16_t* image_plane, const uint16_t* dark)
{
    for (int i = 0; i < intlength; ++i)
        image_plane[i] = image_plane[i] > dark[i] ? static_cast<uint16_t>(image_plane[i] - dark[i]) : 0;
}

void do_average_image(uint16_t* image_plane, const uint16_t* other)
{
    for (int i = 0; i < intlength; ++i)
        image_plane[i] = static_cast<uint16_t>((static_cast<uint32_t>(image_plane[i]) + other[i]) / 2);
}

void do_flat_field(uint16_t* fredptr, const uint16_t* trialptr, double avg, int line)
{
    uint16_t* row = fredptr + static_cast<size_t>(line) * width1;
    const uint16_t* flat = trialptr + static_cast<size_t>(line) * width1;
    for (int x = 2; x < width2; ++x) {
        const double v = row[x];
        const double f = flat[x];
        const double w = f != 0 ? v / f * avg : (v != 0 ? v : avg);
        row[x] = w >= 65535.0 ? 65535 : w <= 0 ? 0 : static_cast<uint16_t>(w);
    }
}

double flat_level(const uint16_t* flat)
{
    double sum = 0;
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < width2; ++x)
            sum += flat[y * width1 + x];
    return sum / (10.0 * (width2 - 5));
}

void do_merge(uint16_t* a, uint16_t* b, int x0, int y0, int x1, int y1, int average)
{
    const int st = (is_header_marked(a) || is_header_marked(b)) ? 10 : 0;
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    for (int y = st; y < height1; ++y) {
        const int ry = y + dy;
        if (!(st < ry && ry < height1))
            continue;
        for (int x = 0; x < width1; ++x) {
            const int rx = x + dx;
            if (!(0 < rx && rx < width2))
                continue;
            const int32_t v = a[ry * width1 + rx] + b[y * width1 + x];
            b[y * width1 + x] = static_cast<uint16_t>(average ? v / 2 : std::min(v, 65535));
        }
    }
    std::copy(b, b + intlength, a);
}
