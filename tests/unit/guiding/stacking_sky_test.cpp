// Stacking on the simulated sky: a multiple exposure on a drifting mount, aligned on the star by
// either method, keeps the star as sharp as one frame, while the plain sum of the same frames is
// trailed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "camera/camera_hooks.h"
#include "camera/sequence_state.h"
#include "camera/zr_readout.h"
#include "processing/merge_images.h"
#include "files/settings_values.h"
#include "sky_run.h"

namespace {
using Image = std::vector<double>;   // a binned image, row by row

Image plane_image(const uint16_t* plane) { return Image(plane, plane + BINNED_WIDTH * BINNED_HEIGHT); }

// Full width at half maximum of a profile, interpolated between samples.
double fwhm(const std::vector<double>& p)
{
    const size_t m = static_cast<size_t>(std::max_element(p.begin(), p.end()) - p.begin());
    const double half = p[m] / 2;
    size_t l = m, r = m;
    while (l > 0 && p[l - 1] > half) --l;
    while (r + 1 < p.size() && p[r + 1] > half) ++r;
    const double left = l > 0 ? (l - 1) + (half - p[l - 1]) / (p[l] - p[l - 1]) : 0.0;
    const double right = r + 1 < p.size() ? r + (p[r] - half) / (p[r] - p[r + 1]) : p.size() - 1.0;
    return right - left;
}

struct Width { double x = 0, y = 0; };

// The widths of the star nearest (CX, CY) (within 20 pixels): profiles through its brightest
// 3 x 3 spot, background from the median around it.
Width star_width(const Image& im, int cx, int cy)
{
    auto v = [&](int x, int y) { return im[y * BINNED_WIDTH + x]; };
    std::vector<double> around;
    for (int y = cy - 25; y <= cy + 25; ++y)
        for (int x = cx - 25; x <= cx + 25; ++x)
            around.push_back(v(x, y));
    std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
    const double bg = around[around.size() / 2];
    int bx = cx, by = cy;
    double best = -1e300;
    for (int y = cy - 20; y <= cy + 20; ++y)
        for (int x = cx - 20; x <= cx + 20; ++x) {
            double s = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    s += v(x + dx, y + dy);
            if (s > best) {
                best = s;
                bx = x;
                by = y;
            }
        }
    std::vector<double> px, py;
    for (int d = -14; d <= 14; ++d) {
        double sx = 0, sy = 0;
        for (int k = -3; k <= 3; ++k) {
            sx += v(bx + d, by + k) - bg;
            sy += v(bx + k, by + d) - bg;
        }
        px.push_back(sx);
        py.push_back(sy);
    }
    return {fwhm(px), fwhm(py)};
}

class StackingSkyTest : public SkyRun {
protected:
    // Five binned frames of 30 s on a mount drifting 3 rows/min, stacked by the chosen method;
    // the raw frames are kept as the sequencer hands them to the stacking.
    void stack(bool alternative, bool average)
    {
        start("seeing_fwhm = 3\nmount.drift_y = 0.05\n");
        exp_range = 's';
        exp_value = 30;
        save_settings();
        picture_and_pick(12000);
        star_x = pick_xcent / 2;
        star_y = pick_ycent / 2;
        auto method = alternative ? camera_hooks.slew_accumulate : camera_hooks.track_accumulate;
        auto keep = [this, method] {
            raw.push_back(plane_image(image_int));
            return method();
        };
        (alternative ? camera_hooks.slew_accumulate : camera_hooks.track_accumulate) = keep;
        std::string script = "command 12\n";
        for (int i = 0; i < 4; ++i)
            script += "scroll 111 linedown\n";
        if (alternative)
            script += "press 115\n";
        if (average)
            script += "press 106\n";
        run_script(script + "press 1\n");
        ASSERT_EQ(raw.size(), 5u) << transcript();
        stacked = plane_image(image_int);
        plain = Image(raw[0].size(), 0.0);
        for (const Image& f : raw)
            for (size_t i = 0; i < f.size(); ++i)
                plain[i] += f[i];
    }
    void expect_sharp(const char* name)
    {
        const Width one = star_width(raw[0], star_x, star_y);
        const Width sum = star_width(stacked, star_x, star_y + (stacked_moves ? 6 : 0));
        const Width trailed = star_width(plain, star_x, star_y + 4);
        std::printf("%s: one frame %.2f x %.2f, stacked %.2f x %.2f, plain sum %.2f x %.2f\n", name, one.x, one.y,
                    sum.x, sum.y, trailed.x, trailed.y);
        EXPECT_NEAR(sum.x, one.x, 0.2 * one.x);
        EXPECT_NEAR(sum.y, one.y, 0.2 * one.y);
        EXPECT_GT(trailed.y, 2 * one.y);
    }
    std::vector<Image> raw;
    Image stacked, plain;
    int star_x = 0, star_y = 0;
    bool stacked_moves = false;
};

TEST_F(StackingSkyTest, StarTrackingSumStaysSharp)
{
    stack(false, false);
    stacked_moves = true;   // the sum sits at the newest star position
    expect_sharp("track, adding");
}

TEST_F(StackingSkyTest, AlternativeSlewAverageStaysSharp)
{
    stack(true, true);
    expect_sharp("slew, averaging");
}
}
