#include "star_centroid.h"

#include <array>
#include <cstdio>

#include "app/core/messages.h"
#include "files/settings_values.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

int old_xcent = 0, old_ycent = 0;
short focus_width1 = 64, focus_height1 = 64;
int drawx = 0, drawy = 0;
int most_pop1 = 0;

namespace {
std::array<int32_t, 4096> table1;
std::array<int32_t, 1600> vals1;

void centre_box(const char* caption, const char* text)
{
    services().boxes->show(caption, text);
}

void nothing_found()
{
    if (!selfguiding)
        centre_box("SKYVANE  - Find Centre", "Sorry, Nothing found to centre on - exposure continuing");
}
}

void reset_star_centroid()
{
    old_xcent = old_ycent = 0;
    focus_width1 = focus_height1 = 64;
    drawx = drawy = 0;
    most_pop1 = 0;
}

int find_centre(int startx, int starty, const uint16_t* fredptr, int rad, CentreOutcome* outcome)
{
    auto finish = [&](CentreOutcome o) {
        if (outcome)
            *outcome = o;
        return o == CentreOutcome::Failed ? 1 : 0;
    };
    const bool subframe = guiding || tracking;
    const int width = subframe ? SUBFRAME_SIDE : width1;
    const int height = subframe ? SUBFRAME_SIDE : height1;
    if (rad < 0 || rad > MAX_CENTRE_RADIUS) {
        char text[120];
        std::snprintf(text, sizeof text, "Find centre failed - mask radius %d is not between 0 and %d", rad,
                      MAX_CENTRE_RADIUS);
        centre_box("Skyvane  - Find Centre", text);
        return finish(CentreOutcome::Failed);
    }
    const int c = 2 * rad + 1;
    const int x0 = startx - rad;
    const int y0 = starty - rad;
    if (x0 < 0 || y0 < 0 || startx + rad + 1 > width || starty + rad + 1 > height) {
        char text[160];
        std::snprintf(text, sizeof text, "x = %5d\ny = %5d\nwidth = %5d\nheight = %5d", startx, starty, width, height);
        messages(50, text);
        centre_box("Skyvane  - Find Centre", "Find centre failed - outside image area");
        return finish(CentreOutcome::Failed);
    }

    // Histogram of the window in 4096 bins and a work copy of its samples.
    table1.fill(0);
    int32_t abs_max = 0;
    int n = 0;
    for (int r = 0; r < c; ++r)
        for (int k = 0; k < c; ++k) {
            const int32_t s = fredptr[(y0 + r) * width + x0 + k];
            ++table1[s / 16];
            vals1[n++] = s;
            if (s > abs_max)
                abs_max = s;
        }
    int32_t best = 0;
    for (int i = 1; i < 4096; ++i)
        if (table1[i] > table1[best])
            best = i;
    most_pop1 = best;
    // Background plus two percent; above bin 4015 the factor 16.32 would pass the 16-bit range.
    const int32_t thresh = best < 4015 ? best * 1632 / 100 : best * 16;

    if (abs_max <= thresh) {
        if (abs_max > 65000) {
            centre_box("SKYVANE  - Find Centre", "Sorry, Guide Area Overexposed, unable to find accurate centre");
            return finish(CentreOutcome::Failed);
        }
        nothing_found();
        return finish(CentreOutcome::NothingFound);
    }

    const int32_t mult = 65535 / (abs_max - thresh);
    int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        vals1[i] = vals1[i] > thresh ? (vals1[i] - thresh) * mult : 0;
        sum += vals1[i];
    }
    const int64_t mean = sum / (c * c);
    // The weighted sums start at 1, not 0 (this biases a result by at most a tenth of a pixel).
    int64_t val = 1, xval = 1, yval = 1;
    for (int r = 0; r < c; ++r)
        for (int k = 0; k < c; ++k) {
            const int64_t d = vals1[r * c + k] - mean;
            if (d > 0) {
                val += d;
                xval += d * k;
                yval += d * r;
            }
        }
    if (val == 1) {
        // No sample stood above the window's mean: a flat window has no centre.
        nothing_found();
        return finish(CentreOutcome::NothingFound);
    }
    const double x = static_cast<double>(xval) / static_cast<double>(val);
    const double y = static_cast<double>(yval) / static_cast<double>(val);
    if (!ignore_small && (guiding || selfguiding)) {
        xcent = static_cast<int>(x);
        xcentdec = static_cast<int>(x * 10) - 10 * xcent;
        ycent = static_cast<int>(y);
        ycentdec = static_cast<int>(y * 10) - 10 * ycent;
    } else {
        xcent = static_cast<int>(x + 0.5);
        ycent = static_cast<int>(y + 0.5);
        xcentdec = ycentdec = 0;
    }
    xcent += x0;
    ycent += y0;
    return finish(CentreOutcome::Measured);
}

void search_centre(int x, int y, const uint16_t* fredptr, int rad, CentrePoint& point)
{
    Desktop* desktop = services().desktop;
    for (int pass = 0; pass < 3; ++pass) {
        const ScreenPoint pointer = desktop ? desktop->pointer() : ScreenPoint{};
        CentreOutcome outcome;
        find_centre(point.x, point.y, fredptr, cur_rad, &outcome);
        if (outcome != CentreOutcome::Measured)
            continue;   // keep the point rather than take a stale centroid
        const int dx = xcent - point.x;
        const int dy = ycent - point.y;
        point = {xcent, ycent};
        if (desktop)
            desktop->move_pointer({pointer.x + dx, pointer.y + dy});
    }
}

void calc_guideframe()
{
    old_xcent = xcent;
    old_ycent = ycent;
    const int fx = pick_xcent;
    const int fy = pick_ycent / 2;
    int px, py;
    if (fx > 64 && fx < 688) {
        focus_x = fx - 64;
        px = 64;
    } else if (fx <= 64) {
        focus_x = 0;
        px = fx;
    } else {
        focus_x = 752 - 128;
        px = fx - focus_x;
    }
    if (fy > 64 && fy < 226) {
        focus_y = fy - 64;
        py = 64;
    } else if (fy <= 64) {
        focus_y = 0;
        py = fy;
    } else {
        focus_y = 290 - 128;
        py = fy - focus_y;
    }
    const int xoffset = focus_x % 2;
    const int yoffset = focus_y % 10;
    xcent = drawx = px + xoffset;
    ycent = drawy = py - yoffset;
    if (Debug_Mode) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "In Debug Mode\nxcent=%5d, ycent = %5d, focus_x = %5d, focus_y = %5d,  xoffset = %5d, yoffset = %5d",
                      xcent, ycent, focus_x, focus_y, xoffset, yoffset);
        messages(50, text);
    }
    tracking = 1;
}
