// Star-aligned stacking of a multiple exposure: every new frame (FREDPTR, the current image) is
// aligned on a star and added to the running sum (TRIALPTR), or averaged when slew_sum_average is
// on. *FIRST_FRAME marks the frame that starts the sum; the routines clear it after that frame.
#pragma once
#include <cstdint>

// Star-tracking method: the picked guide star's centroid in every frame (without a picked star
// the frames are summed unaligned). 0 added, 1 star lost (its peak outside 0.3 to 3 times the
// first frame's, or not measurable): the frame then shows the sum so far.
int track_accumulate(uint16_t* fredptr, uint16_t* trialptr, int* orig_x, int* orig_y, int* merge_x,
                     int* merge_y, int* orig_max, double* orig_avg, int* first_frame);

// Alternative slew method: the row and column profiles of a 100 x 100 box. 0 added, 1 no star
// signal in the profiles (the frame shows the sum so far), 2 no suitable star in the first frame.
int slew_accumulate(uint16_t* fredptr, uint16_t* trialptr, int* orig_x, int* orig_y, int* merge_x,
                    int* merge_y, int* orig_max, double* orig_avg, int* first_frame);

// The profile work arrays of the slew method (64-bit sums).
extern int64_t rowsum_1[100], rowsum_2[100], colsum_1[100], colsum_2[100];
