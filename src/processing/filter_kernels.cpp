#include "filter_kernels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "store/planes.h"

// The vector helpers pass 32-byte vectors by value between inlined functions of one file.
#pragma GCC diagnostic ignored "-Wpsabi"

extern constexpr int32_t mask[6][25] = {
    {1, 2, 1, 2, 4, 2, 1, 2, 1},
    {0, 1, 2, 1, 0, 1, 4, 8, 4, 1, 2, 8, 16, 8, 2, 1, 4, 8, 4, 1, 0, 1, 2, 1, 0},
    {0, -1, 0, -1, 5, -1, 0, -1, 0},
    {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 25, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
    {0, -1, -1, -1, 0, -1, 1, 1, 1, -1, -1, 1, 5, 1, -1, -1, 1, 1, 1, -1, 0, -1, -1, -1, 0},
    {0, 0, -1, 0, 0, 0, -1, -1, -1, 0, -1, -1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0, 0},
};

namespace {

// A selection network that leaves the median of N samples in register `out`: Batcher's odd-even
// merge sort on the next power of two, with the padding treated as +infinity (comparators
// against it only rename registers) and every comparator that cannot reach the median dropped.
struct MedianNet {
    int count = 0;
    int out = 0;
    std::array<int, 600> a{}, b{}, kind{};
};

constexpr MedianNet make_median_net(int n, int rank)
{
    int size = 1;
    while (size < n) size <<= 1;
    std::array<int, 64> reg{};
    std::array<bool, 64> infinite{};
    for (int i = 0; i < size; ++i) {
        reg[i] = i;
        infinite[i] = i >= n;
    }
    std::array<int, 600> ca{}, cb{};
    int count = 0;
    for (int p = 1; p < size; p <<= 1)
        for (int k = p; k >= 1; k >>= 1)
            for (int j = k % p; j + k < size; j += 2 * k)
                for (int i = 0; i < std::min(k, size - j - k); ++i)
                    if ((i + j) / (2 * p) == (i + j + k) / (2 * p)) {
                        const int lo = i + j, hi = i + j + k;
                        if (infinite[lo] && !infinite[hi]) {
                            std::swap(reg[lo], reg[hi]);
                            std::swap(infinite[lo], infinite[hi]);
                        } else if (!infinite[lo] && !infinite[hi]) {
                            ca[count] = reg[lo];
                            cb[count] = reg[hi];
                            ++count;
                        }
                    }
    // Backwards: keep what the median depends on.
    std::array<bool, 64> needed{};
    needed[reg[rank]] = true;
    std::array<int, 600> keep_kind{};
    std::array<bool, 600> keep{};
    for (int c = count - 1; c >= 0; --c) {
        const bool na = needed[ca[c]], nb = needed[cb[c]];
        if (!na && !nb)
            continue;
        keep[c] = true;
        keep_kind[c] = na && nb ? 0 : na ? 1 : 2;
        needed[ca[c]] = needed[cb[c]] = true;
    }
    MedianNet net;
    net.out = reg[rank];
    for (int c = 0; c < count; ++c)
        if (keep[c]) {
            net.a[net.count] = ca[c];
            net.b[net.count] = cb[c];
            net.kind[net.count] = keep_kind[c];
            ++net.count;
        }
    return net;
}

template <int R>
inline constexpr MedianNet MEDIAN_NET = make_median_net((2 * R + 1) * (2 * R + 1), (2 * R + 1) * (2 * R + 1) / 2);

// trunc(range x power) for a power m / 2^s written as ((range x mh) + ((range x ml) >> 12)) >> shift,
// exact in 32-bit lanes (m = mh x 4096 + ml).
// The same in 16-bit lanes, for radius 1: m = h16 x 256 + l8 and
// trunc(range x power) = ((range x h16) + ((range x l8) >> 8)) >> q, q = s - 8, with the 32-bit
// sum kept as two 16-bit halves.
struct Threshold {
    uint32_t mh = 0, ml = 0;
    int shift = 0;
    uint16_t h16 = 0, l8 = 0;
    int q = 0;
};

// Splits a power in (0, 1] into the integer form above; false for other powers.
bool split_power(float power, Threshold& th)
{
    if (!(power > 0.0f && power <= 1.0f))
        return false;
    int e = 0;
    const float f = std::frexp(power, &e);                  // power = f x 2^e, f in [0.5, 1)
    const uint32_t m = static_cast<uint32_t>(std::ldexp(f, 24));   // exact: 24-bit mantissa
    const int s = 24 - e;                                    // power = m / 2^s
    if (s < 12 || s > 60)
        return false;
    th.mh = m >> 12;
    th.ml = m & 0xFFF;
    th.shift = s - 12;
    th.h16 = static_cast<uint16_t>(m >> 8);
    th.l8 = static_cast<uint16_t>(m & 0xFF);
    th.q = s - 8;
    return th.shift < 32 && th.q >= 15 && th.q < 32;
}

// The median filter pixel by pixel, for geometries and powers the vector path does not take.
void median_rows_plain(const uint16_t* src, uint16_t* dst, int width, int height, int st, int r, float power)
{
    const int n = (2 * r + 1) * (2 * r + 1);
    uint16_t window[49];
    for (int y = st + r; y < height - r; ++y)
        for (int x = r; x < width - r; ++x) {
            int c = 0;
            uint16_t lo = 65000;
            for (int yy = y - r; yy <= y + r; ++yy)
                for (int xx = x - r; xx <= x + r; ++xx) {
                    const uint16_t s = src[static_cast<ptrdiff_t>(yy) * width + xx];
                    window[c++] = s;
                    lo = std::min(lo, s);
                }
            const uint16_t hi = *std::max_element(window, window + n);
            std::nth_element(window, window + n / 2, window + n);
            const uint16_t m = window[n / 2];
            const uint16_t p = src[static_cast<ptrdiff_t>(y) * width + x];
            const double threshold = std::trunc(static_cast<double>(hi - lo) * static_cast<double>(power));
            if (std::abs(static_cast<double>(m) - p) > threshold)
                dst[static_cast<ptrdiff_t>(y) * width + x] = m;
        }
}
}

namespace baseline {
#include "filter_kernels.inc"
}

#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2 {
#include "filter_kernels.inc"

}
#pragma GCC pop_options

namespace {
bool avx2_allowed = true;

bool use_avx2()
{
    static const bool present = __builtin_cpu_supports("avx2");
    return present && avx2_allowed;
}
}

bool filter_kernels_vectorised() { return use_avx2(); }
void set_filter_vector_path(bool allowed) { avx2_allowed = allowed; }

void convolve_rows(const uint16_t* src, uint16_t* dst, int width, int y0, int y1, int rad, int masknum,
                   int divisor)
{
    if (masknum < 0 || masknum > 5 || rad < 1 || rad > 2 || divisor == 0)
        return;
    if (use_avx2())
        avx2::convolve_rows(src, dst, width, y0, y1, rad, masknum, divisor);
    else
        baseline::convolve_rows(src, dst, width, y0, y1, rad, masknum, divisor);
}

void unsharp_row(const uint16_t* src, uint16_t* dst, int width, int y, int r, uint32_t k)
{
    if (width > FULL_WIDTH || r < 1 || 2 * r + 2 > width)
        return;
    if (use_avx2())
        avx2::unsharp_row(src, dst, width, y, r, k);
    else
        baseline::unsharp_row(src, dst, width, y, r, k);
}

void median_rows(const uint16_t* src, uint16_t* dst, int width, int height, int st, int r, float power)
{
    if (r < 1 || r > 3)
        return;
    Threshold th;
    if (!split_power(power, th) || width > FULL_WIDTH || width - 2 * r < 16) {
        median_rows_plain(src, dst, width, height, st, r, power);
        return;
    }
    if (use_avx2())
        avx2::median_rows_vector(src, dst, width, height, st, r, th);
    else
        baseline::median_rows_vector(src, dst, width, height, st, r, th);
}

void apply_stretch_table(uint16_t* plane, int begin, int end, const uint16_t* table)
{
    if (use_avx2())
        avx2::apply_table_rows(plane, begin, end, table);
    else
        baseline::apply_table_rows(plane, begin, end, table);
}

void venetian_core(uint16_t* plane, const uint16_t* u, int width, int height, int st, bool down)
{
    if (use_avx2())
        avx2::venetian_rows(plane, u, width, height, st, down);
    else
        baseline::venetian_rows(plane, u, width, height, st, down);
}

namespace {
// The lowest-numbered fullest bin of sample >> 4 over a 40 x 40 patch, searched from bin FIRST;
// FIRST itself when no bin from there on has a count.
int patch_peak(const uint16_t* plane, int width, int top, int left, int first)
{
    static uint32_t bins[4096];
    std::memset(bins, 0, sizeof bins);
    for (int y = top; y < top + 40; ++y)
        for (int x = left; x < left + 40; ++x)
            ++bins[plane[static_cast<ptrdiff_t>(y) * width + x] >> 4];
    int best = first;
    for (int b = first + 1; b < 4096; ++b)
        if (bins[b] > bins[best])
            best = b;
    return best;
}
}

void gradient_core(uint16_t* plane, int width, int height, int st, bool binned_layout)
{
    const int xr = binned_layout ? 320 : 700;
    const int yb = binned_layout ? 240 : 520;
    const int c1 = patch_peak(plane, width, 10, 20, 0);
    const int c2 = patch_peak(plane, width, 10, xr, 0);
    const int c3 = patch_peak(plane, width, yb, 20, 1);
    const int c4 = patch_peak(plane, width, yb, xr, 1);
    const int m = std::min(std::min(c1, c2), std::min(c3, c4));
    const double g1 = (c1 - m) * 16, g2 = (c2 - m) * 16, g3 = (c3 - m) * 16, g4 = (c4 - m) * 16;
    const double W = static_cast<float>(width), H = static_cast<float>(height);
    const double area = W * H;
    for (int y = st; y < height; ++y) {
        uint16_t* row = plane + static_cast<ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const double v = ((H - y) * (W - x) * g1 + (H - y) * x * g2 + (W - x) * y * g3 + x * y * g4) / area;
            const uint16_t p = row[x];
            row[x] = p > v ? static_cast<uint16_t>(p - static_cast<int32_t>(v)) : 0;
        }
    }
}
