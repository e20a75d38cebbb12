#include "histogram.h"

#include <cstring>

#include "store/geometry.h"

uint32_t table[257];
int32_t most_pop = 0;

namespace {
// The fullest non-empty bin among 0..255 other than the excluded ones; the lowest wins a tie.
// A missing pick counts as bin 0, which keeps most_pop within 0..255.
int fullest_bin(int excluded1, int excluded2)
{
    int best = -1;
    for (int b = 0; b < 256; ++b) {
        if (b == excluded1 || b == excluded2 || table[b] == 0)
            continue;
        if (best < 0 || table[b] > table[best])
            best = b;
    }
    return best;
}
}

void build_histogram(const uint16_t* plane)
{
    std::memset(table, 0, sizeof table);
    const int start = width1 / 2;
    const int count = intlength - width1_10;
    // Four partial counts: neighbouring samples of the same level (the sky background) do not
    // wait for each other's increment.
    static uint32_t part[4][256];
    std::memset(part, 0, sizeof part);
    const uint16_t* p = plane + start;
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        ++part[0][p[i] >> 8];
        ++part[1][p[i + 1] >> 8];
        ++part[2][p[i + 2] >> 8];
        ++part[3][p[i + 3] >> 8];
    }
    for (; i < count; ++i)
        ++part[0][p[i] >> 8];
    for (int b = 0; b < 256; ++b)
        table[b] = part[0][b] + part[1][b] + part[2][b] + part[3][b];
    const int m1 = fullest_bin(-1, -1);
    const int m2 = fullest_bin(m1, -1);
    const int m3 = fullest_bin(m1, m2);
    auto pick = [](int m) { return m < 0 ? 0 : m; };
    most_pop = (pick(m1) + pick(m2) + pick(m3)) / 3;
}

void find_most_pop(const uint16_t* plane)
{
    std::memset(table, 0, sizeof table);
    for (int i = 10240; i < 25600; ++i)
        ++table[plane[i] >> 8];
    int best = 0;
    for (int b = 1; b < 256; ++b)
        if (table[b] > table[best])
            best = b;
    most_pop = best;
}
