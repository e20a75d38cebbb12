#include "stacking.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "camera/sequence_state.h"
#include "processing/star_centroid.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

int64_t rowsum_1[100], rowsum_2[100], colsum_1[100], colsum_2[100];

namespace {
// What a frame's sample adds to the sum: the sample, or its share of the average.
uint32_t share(uint16_t v) { return slew_sum_average && total_images > 0 ? v / static_cast<uint32_t>(total_images) : v; }

uint16_t limited(uint32_t v) { return v > 65535 ? 65535 : static_cast<uint16_t>(v); }

void copy_plane(const uint16_t* from, uint16_t* to) { std::memcpy(to, from, sizeof(uint16_t) * intlength); }

void start_sum(const uint16_t* fredptr, uint16_t* trialptr)
{
    for (int i = 0; i < intlength; ++i)
        trialptr[i] = static_cast<uint16_t>(share(fredptr[i]));
}

// The frame becomes the sum moved by (DX, DY) plus the frame's own share, and the new sum.
void add_to_frame(uint16_t* fredptr, uint16_t* trialptr, int dx, int dy)
{
    for (int y = 0; y < height1; ++y) {
        const int sy = y - dy;
        for (int x = 0; x < width1; ++x) {
            const int sx = x - dx;
            uint16_t& pixel = fredptr[y * width1 + x];
            const uint32_t own = share(pixel);
            if (sx > 0 && sx < width1 && sy > 0 && sy < height1)
                pixel = limited(trialptr[sy * width1 + sx] + own);
            else
                pixel = static_cast<uint16_t>(own);
        }
    }
    copy_plane(fredptr, trialptr);
}

bool measured(int x, int y, const uint16_t* fredptr)
{
    CentreOutcome outcome;
    find_centre(x, y, fredptr, star_mask, &outcome);
    return outcome == CentreOutcome::Measured;
}

// ------------------------------------------------------------------------------------------
// The alternative slew method's profiles.
constexpr int BOX_COL0 = 200, BOX = 100;

// The fullest bin of the frame's histogram of sample / 256 (the lowest bin wins a tie).
int frame_most_pop(const uint16_t* fredptr)
{
    int counts[256] = {};
    for (int i = 0; i < width1 * height1; ++i)
        ++counts[fredptr[i] >> 8];
    int best = 0;
    for (int b = 1; b < 256; ++b)
        if (counts[b] > counts[best])
            best = b;
    return best;
}

uint16_t box_peak(const uint16_t* fredptr, int row0)
{
    uint16_t peak = 0;
    for (int r = row0; r < row0 + BOX; ++r)
        for (int c = BOX_COL0; c < BOX_COL0 + BOX; ++c)
            peak = std::max(peak, fredptr[r * width1 + c]);
    return peak;
}

void profiles(const uint16_t* fredptr, int row0, int base, int64_t* rows, int64_t* cols, int col0 = BOX_COL0)
{
    std::fill(rows, rows + BOX, 0);
    std::fill(cols, cols + BOX, 0);
    for (int r = 0; r < BOX; ++r)
        for (int c = 0; c < BOX; ++c) {
            const int v = fredptr[(row0 + r) * width1 + col0 + c];
            if (v > base) {
                const int64_t d = static_cast<int64_t>(v - base) * 16;
                rows[r] += d;
                cols[c] += d;
            }
        }
}

// The shift of profile NOW against REF (-10..9; 0 when no match is close enough); DIFF gets the
// twenty sums of differences.
int profile_shift(const int64_t* ref, const int64_t* now, int64_t* diff)
{
    int best = -1;
    for (int s = 0; s < 20; ++s) {
        int64_t sum = 0;
        for (int i = 0; i < 80; ++i)
            sum += std::llabs(ref[10 + i] - now[s + i]);
        diff[s] = sum;
        if (sum < 10000000 && (best < 0 || sum < diff[best]))
            best = s;
    }
    return best < 0 ? 0 : best - 10;
}
}

int track_accumulate(uint16_t* fredptr, uint16_t* trialptr, int* orig_x, int* orig_y, int* merge_x,
                     int* merge_y, int* orig_max, double* orig_avg, int* first_frame)
{
    (void)orig_avg;
    // Without a picked guide star there is nothing to align on: the frames are summed as they are.
    if (!picked_star) {
        if (*first_frame) {
            start_sum(fredptr, trialptr);
            *first_frame = 0;
        } else {
            add_to_frame(fredptr, trialptr, 0, 0);
        }
        return 0;
    }
    if (*first_frame) {
        start_sum(fredptr, trialptr);
        int x = xcent, y = ycent;
        if (binned) {
            x /= 2;
            y /= 2;
        }
        for (int pass = 0; pass < 3; ++pass) {
            if (!measured(x, y, fredptr))
                return 1;
            x = xcent;
            y = ycent;
        }
        *orig_x = x;
        *orig_y = y;
        *orig_max = fredptr[y * width1 + x];
        *first_frame = 0;
        return 0;
    }
    if (!measured(*orig_x, *orig_y, fredptr)) {
        copy_plane(trialptr, fredptr);
        return 1;
    }
    const int64_t v = fredptr[ycent * width1 + xcent];
    if (v * 10 > static_cast<int64_t>(*orig_max) * 30 || v * 10 < static_cast<int64_t>(*orig_max) * 3) {
        copy_plane(trialptr, fredptr);
        return 1;
    }
    *merge_x = xcent;
    *merge_y = ycent;
    const int dx = *merge_x - *orig_x, dy = *merge_y - *orig_y;
    *orig_x = *merge_x;
    *orig_y = *merge_y;
    add_to_frame(fredptr, trialptr, dx, dy);
    return 0;
}

int slew_accumulate(uint16_t* fredptr, uint16_t* trialptr, int* orig_x, int* orig_y, int* merge_x,
                    int* merge_y, int* orig_max, double* orig_avg, int* first_frame)
{
    (void)orig_max;
    const int pop = frame_most_pop(fredptr);
    const int base = (pop + 2) * 256;
    if (*first_frame) {
        start_sum(fredptr, trialptr);
        int64_t sum = 0;
        for (int i = 0; i < 10000; ++i)
            sum += fredptr[i];
        *orig_avg = static_cast<double>(static_cast<int64_t>(static_cast<double>(sum) * 0.0001));
        int starty = 0;
        for (; starty < 30; starty += 10)
            if (box_peak(fredptr, starty + 100) >= pop * 375)
                break;
        *merge_y = starty;
        if (starty == 30)
            return 2;
        profiles(fredptr, starty + 100, base, rowsum_1, colsum_1);
        *orig_x = *orig_y = 0;
        *first_frame = 0;
        return 0;
    }
    // The box follows the star by the shift found so far, and the new profiles are compared with
    // the first frame's: each frame's shift is then found to the nearest row and column on its
    // own, and the rounding of one frame does not carry into the next.
    const int box_x = std::clamp(*orig_x, -BOX_COL0, width1 - BOX_COL0 - BOX);
    const int box_y = std::clamp(*orig_y, -(*merge_y + 100), height1 - (*merge_y + 100) - BOX);
    profiles(fredptr, *merge_y + 100 + box_y, base, rowsum_2, colsum_2, BOX_COL0 + box_x);
    int64_t rowdiff[20], coldiff[20];
    const int diff_y = profile_shift(rowsum_1, rowsum_2, rowdiff);
    const int diff_x = profile_shift(colsum_1, colsum_2, coldiff);
    // No star signal: the new profiles carry (next to) nothing above the base level, or they match
    // the reference around no shift at all as flat profiles do.
    int64_t signal = 0;
    for (int64_t c : colsum_2)
        signal += c;
    if (signal < 5000 || coldiff[9] + coldiff[10] + coldiff[11] < 5000) {
        copy_plane(trialptr, fredptr);
        return 1;
    }
    const int shift_x = box_x + diff_x, shift_y = box_y + diff_y;
    for (int y = 0; y < height1; ++y) {
        const int sy = y + shift_y;
        if (sy <= 0 || sy >= height1)
            continue;
        for (int x = 0; x < width1; ++x) {
            const int sx = x + shift_x;
            if (sx <= 0 || sx >= width1)
                continue;
            uint16_t& sum = trialptr[y * width1 + x];
            sum = limited(sum + share(fredptr[sy * width1 + sx]));
        }
    }
    *orig_x = shift_x;
    *orig_y = shift_y;
    copy_plane(trialptr, fredptr);
    return 0;
}
