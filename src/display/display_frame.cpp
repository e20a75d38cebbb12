#include "display_frame.h"

#include <cmath>

#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

FrameSize display_frame_size(int focus, int geo)
{
    if (focus || tracking)
        return {SUBFRAME_SIDE, SUBFRAME_SIDE};
    if (binned && geo)
        return {564, 452};
    if (binned && Big)
        return {564, 435};
    if (binned)
        return {BINNED_WIDTH, BINNED_HEIGHT};
    return {FULL_WIDTH, FULL_HEIGHT};
}

namespace {
void copy_high_bytes(const uint8_t* high_bytes, uint8_t* frame, int count)
{
    for (int i = 0; i < count; ++i)
        frame[i] = high_bytes[2 * i];
}

// Bilinear resample of the binned frame to 564 x 452, in single precision as the display always
// did; the last column's right neighbour is the next sample in memory.
void resample(const uint8_t* high_bytes, uint8_t* frame)
{
    auto h = [high_bytes](int k) { return static_cast<float>(high_bytes[2 * k]); };
    const float ystep = 452.0f / height1f;
    const float xstep = 564.0f / width1f;
    for (int r = 0; r < 452; ++r) {
        const float fy = static_cast<float>(r) / ystep;
        const int iy = static_cast<int>(fy);
        const float wy = fy - static_cast<float>(iy);
        const int base = iy * width1;
        const int next = r == 451 ? base : base + width1;
        for (int c = 0; c < 564; ++c) {
            const float fx = static_cast<float>(c) / xstep;
            const int ix = static_cast<int>(fx);
            const float wx = fx - static_cast<float>(ix);
            const int top = base + ix;
            const int bottom = c == 563 ? top : next + ix;
            const float upper = h(top) + (h(top + 1) - h(top)) * wx;
            const float lower = h(bottom) + (h(bottom + 1) - h(bottom)) * wx;
            const float v = upper + (lower - upper) * wy;
            frame[r * 564 + c] = v >= 256.0f ? 255 : static_cast<uint8_t>(static_cast<int>(v));
        }
    }
}
}

void setup_image(const uint8_t* high_bytes, uint8_t* frame, int focus, int geo)
{
    if (focus || tracking) {
        copy_high_bytes(high_bytes, frame, SUBFRAME_SAMPLES);
    } else if (!geo) {
        copy_high_bytes(high_bytes, frame, binned ? BINNED_WIDTH * BINNED_HEIGHT + 4 : PLANE_SAMPLES);
    } else if (binned) {
        resample(high_bytes, frame);
    }
}

void DisplayImage()
{
    setup_image(image.fred2 + 1, pixels_c, focus_mode, Geo);
}
