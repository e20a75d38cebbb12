// Plain implementations of the filters, written loop for loop from their description, against
// which the program's arranged versions are compared (tests and benchmark).
#pragma once
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace reference {

using Plane = std::vector<uint16_t>;

inline const int32_t kernels[6][25] = {
    {1, 2, 1, 2, 4, 2, 1, 2, 1},
    {0, 1, 2, 1, 0, 1, 4, 8, 4, 1, 2, 8, 16, 8, 2, 1, 4, 8, 4, 1, 0, 1, 2, 1, 0},
    {0, -1, 0, -1, 5, -1, 0, -1, 0},
    {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 25, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
    {0, -1, -1, -1, 0, -1, 1, 1, 1, -1, -1, 1, 5, 1, -1, -1, 1, 1, 1, -1, 0, -1, -1, -1, 0},
    {0, 0, -1, 0, 0, 0, -1, -1, -1, 0, -1, -1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0, 0},
};

inline int32_t clamp_result(int64_t t) { return t > 65280 ? 65535 : t < 0 ? 0 : static_cast<int32_t>(t); }

// The convolution engine: the result plane (trial), from a copy of the image.
inline Plane convolve(const Plane& image, int width, int height, int st, int rad, int masknum, int divisor)
{
    Plane trial = image;
    for (int y = st + rad; y < height - rad; ++y)
        for (int x = rad; x < width - rad; ++x) {
            int32_t sum = 0;
            int c = 0;
            for (int yy = y - rad; yy <= y + rad; ++yy)
                for (int xx = x - rad; xx <= x + rad; ++xx)
                    sum += image[yy * width + xx] * kernels[masknum][c++];
            trial[y * width + x] = static_cast<uint16_t>(clamp_result(sum / divisor));
        }
    return trial;
}

// The unsharp mask with its running box sum, slid one column at a time.
inline Plane unsharp(const Plane& image, int width, int height, int st, int r, uint32_t k)
{
    Plane trial = image;
    const int side = 2 * r + 1;
    for (int y = st + r; y < height - r; ++y) {
        int32_t s = 0;
        for (int yy = y - r; yy <= y + r; ++yy)
            for (int xx = 0; xx <= 2 * r; ++xx)
                s += image[yy * width + xx];
        for (int x = r; x < width - 1 - r; ++x) {
            const int64_t mean = static_cast<int64_t>(std::trunc(static_cast<double>(s) / (side * side)));
            const int64_t p = image[y * width + x];
            const int64_t t = p + (p - mean) * static_cast<int64_t>(k);
            trial[y * width + x] = static_cast<uint16_t>(clamp_result(t));
            for (int yy = y - r; yy <= y + r; ++yy)
                s += image[yy * width + x + r + 1] - image[yy * width + x - r];
        }
    }
    return trial;
}

// The conditional median by repeated selection of the largest remaining sample.
inline Plane median(const Plane& image, int width, int height, int st, int r, uint32_t black)
{
    Plane trial = image;
    const float power = static_cast<float>(black * 0.1);
    const int n = (2 * r + 1) * (2 * r + 1);
    const int h = n / 2 + 1;
    for (int y = st + r; y < height - r; ++y)
        for (int x = r; x < width - r; ++x) {
            uint16_t window[49];
            int c = 0;
            int minimum = 65000;
            for (int yy = y - r; yy <= y + r; ++yy)
                for (int xx = x - r; xx <= x + r; ++xx) {
                    window[c] = image[yy * width + xx];
                    if (window[c] < minimum) minimum = window[c];
                    ++c;
                }
            int maximum = 0, med = 0;
            for (int pass = 0; pass < h; ++pass) {
                int best = 0;
                for (int j = 1; j < n; ++j)
                    if (window[j] >= window[best]) best = j;
                if (pass == 0) maximum = window[best];
                med = window[best];
                window[best] = 0;
            }
            const int p = image[y * width + x];
            const double threshold = std::trunc(static_cast<double>(maximum - minimum) * static_cast<double>(power));
            if (std::abs(med - p) > threshold)
                trial[y * width + x] = static_cast<uint16_t>(med);
        }
    return trial;
}

// The gradient remover in place.
inline void gradient(Plane& plane, int width, int height, int st, bool binned)
{
    const int xr = binned ? 320 : 700, yb = binned ? 240 : 520;
    auto peak = [&](int top, int left, int first) {
        std::vector<int> bins(4096, 0);
        for (int y = top; y < top + 40; ++y)
            for (int x = left; x < left + 40; ++x)
                ++bins[plane[y * width + x] >> 4];
        int best = first;
        for (int b = first; b < 4096; ++b)
            if (bins[b] > bins[best]) best = b;
        return best;
    };
    const int c1 = peak(10, 20, 0), c2 = peak(10, xr, 0), c3 = peak(yb, 20, 1), c4 = peak(yb, xr, 1);
    int m = c1;
    if (c2 < m) m = c2;
    if (c3 < m) m = c3;
    if (c4 < m) m = c4;
    const int g1 = (c1 - m) * 16, g2 = (c2 - m) * 16, g3 = (c3 - m) * 16, g4 = (c4 - m) * 16;
    const double W = static_cast<float>(width), H = static_cast<float>(height);
    for (int y = st; y <= height - 1; ++y)
        for (int x = 0; x <= width - 1; ++x) {
            const double v = ((H - y) * (W - x) * g1 + (H - y) * x * g2 + (W - x) * y * g3 +
                              static_cast<double>(x) * y * g4) / (W * H);
            uint16_t& p = plane[y * width + x];
            p = p > v ? static_cast<uint16_t>(p - static_cast<int>(std::trunc(v))) : 0;
        }
}

// One Vertical Smoothing: DOWN the first direction (with the row below).
inline void venetian(Plane& plane, int width, int height, int st, bool down)
{
    const Plane u = plane;
    if (down) {
        for (int y = st; y <= height - 2; ++y)
            for (int x = 0; x <= width - 2; ++x)
                plane[y * width + x] = static_cast<uint16_t>((u[y * width + x] + u[(y + 1) * width + x]) / 2);
    } else {
        for (int y = height - 1; y >= st + 1; --y)
            for (int x = 0; x <= width - 2; ++x)
                plane[y * width + x] = static_cast<uint16_t>((u[y * width + x] + u[(y - 1) * width + x]) / 2);
    }
}

}  // namespace reference
