// The histogram of the shown image and its background level, as the display, the Normal
// Stretch dialog and Remove Background read them.
#include <gtest/gtest.h>

#include <vector>

#include "display/histogram.h"
#include "images.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

namespace {
void use(const std::vector<uint16_t>& p)
{
    std::copy(p.begin(), p.end(), image_int);
}
}

TEST(Histogram, CountsHalfARowInAndPicksTheThreeFullestBins)
{
    for (int full : {0, 1}) {
        binned = full ? 0 : 1;
        QV_binned();
        const auto star = images::make(images::Kind::StarField, width1, height1, 5 + full);
        use(star);
        build_histogram(image_int);
        std::vector<uint32_t> want(257, 0);
        for (int i = width1 / 2; i < width1 / 2 + intlength - width1_10; ++i)
            ++want[image_int[i] >> 8];
        EXPECT_EQ(std::vector<uint32_t>(table, table + 257), want);
    }
    binned = 1;
    QV_binned();
    struct Case { std::vector<int> levels; int most_pop; };
    // Levels by sample; ties go to the lowest bin; missing picks count as bin 0.
    const Case cases[] = {
        {{9, 9, 9, 30, 30, 200}, (9 + 30 + 200) / 3},
        {{40, 41, 42, 43}, (40 + 41 + 42) / 3},
        {{100}, 100 / 3},
        {{100, 200}, 300 / 3},
        {{0, 0, 255, 255, 254}, (0 + 255 + 254) / 3},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> p(PLANE_SAMPLES);
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = static_cast<uint16_t>(c.levels[i % c.levels.size()] << 8 | (i & 0xFF));
        use(p);
        build_histogram(image_int);
        EXPECT_EQ(most_pop, c.most_pop) << c.levels.size();
        EXPECT_EQ(table[256], 0u);
    }
}

TEST(Histogram, FindMostPopReadsItsFixedStretch)
{
    std::vector<uint16_t> p(PLANE_SAMPLES, 200 << 8);
    for (int i = 10240; i < 25600; ++i)
        p[i] = static_cast<uint16_t>((i % 2 ? 17 : 12) << 8);   // a tie: the lower bin wins
    use(p);
    find_most_pop(image_int);
    EXPECT_EQ(most_pop, 12);
    EXPECT_EQ(table[12] + table[17], 15360u);
    EXPECT_EQ(table[200], 0u);
}
