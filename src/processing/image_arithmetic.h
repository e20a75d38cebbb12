// Pixel arithmetic on two planes, in place in the first: dark subtraction, averaging, one row
// of flat fielding and the star-aligned merge of two images.
#pragma once
#include <cstdint>

// Every one of the intlength samples: p > d gives p - d, otherwise 0.
void do_subtract_image(uint16_t* image_plane, const uint16_t* dark);
// Every one of the intlength samples: (p + q) / 2.
void do_average_image(uint16_t* image_plane, const uint16_t* other);
// Flat-fields columns 2 .. width2 - 1 of row LINE of FREDPTR with the flat TRIALPTR and the
// flat level AVG; the result is truncated and clamped at 65535.
void do_flat_field(uint16_t* fredptr, const uint16_t* trialptr, double avg, int line);
// The flat level: the mean of the flat's rows 10..19, columns 5 .. width2 - 1.
double flat_level(const uint16_t* flat);
// Adds (or with AVERAGE averages) the partner image A, shifted so that its point (X1, Y1) lies
// on the first image's point (X0, Y0), onto the first image B; then copies B into A.
void do_merge(uint16_t* a, uint16_t* b, int x0, int y0, int x1, int y1, int average);
