// The arithmetic of the filters on explicit planes and geometry, shared by the menu commands,
// the tests and the benchmark. Every routine gives the same samples as the straightforward
// loops written out in the filter commands' description; the work is only arranged differently
// (integer sums in any order, sorting networks instead of repeated selection, vector lanes).
#pragma once
#include <cstdint>

// The six convolution kernels, 25 coefficients each, row by row; a 3 x 3 kernel uses the first 9.
extern const int32_t mask[6][25];

// Rows [y0, y1) of the convolution of SRC with kernel MASKNUM of radius RAD, divided by DIVISOR
// (truncating toward zero) and clamped (above 65280 -> 65535, below 0 -> 0), into DST; columns
// rad .. width - rad - 1. The caller guarantees rad <= y0 and y1 + rad <= height.
void convolve_rows(const uint16_t* src, uint16_t* dst, int width, int y0, int y1, int rad, int masknum,
                   int divisor);

// Row Y of the unsharp mask of radius R and power K: columns r .. width - r - 2.
void unsharp_row(const uint16_t* src, uint16_t* dst, int width, int y, int r, uint32_t k);

// The conditional median of radius R (1..3) with POWER (the single-precision tenths of the
// dialog) on rows st + r .. height - r - 1, columns r .. width - r - 1, from SRC into DST.
void median_rows(const uint16_t* src, uint16_t* dst, int width, int height, int st, int r, float power);

// The bilinear background gradient of the four corner patches subtracted in place (rows st ..
// height - 1); BINNED_LAYOUT selects the corner positions of the binned frame.
void gradient_core(uint16_t* plane, int width, int height, int st, bool binned_layout);

// Vertical smoothing from the copy U into PLANE: DOWN averages each row with the one below,
// otherwise with the one above.
void venetian_core(uint16_t* plane, const uint16_t* u, int width, int height, int st, bool down);

// The apply step of a stretch: sample s of PLANE[begin, end) becomes 2 x TABLE[s >> 1], kept to
// 16 bits.
void apply_stretch_table(uint16_t* plane, int begin, int end, const uint16_t* table);

// True when the AVX2 code paths are in use (the processor has AVX2 and they are allowed).
bool filter_kernels_vectorised();
// Allows or forbids the AVX2 paths (tests and the benchmark compare both).
void set_filter_vector_path(bool allowed);
