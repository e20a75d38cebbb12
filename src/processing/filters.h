// The Filters menu: six convolutions through one engine, the unsharp mask, the conditional
// median, the background-gradient remover and the alternating vertical smoothing. Each saves
// the undo copy, rewrites image_int, appends one history line and refreshes the display.
#pragma once
#include <cstdint>

extern int32_t venetian_flipflop;   // direction of the next Vertical Smoothing

// The engines.
void run_enhance(int32_t rad, int32_t masknum, int32_t divisor);
void run_median_enhance(uint16_t* image_plane, uint16_t* trial_plane, uint16_t* undo_plane);
void gradient_filter(uint16_t* image_plane);
void venetian_blind(uint16_t* image_plane, uint16_t* undo_plane);

// The menu commands.
void unsharp_enhance();
void highlow_enhance();
void highhigh_enhance();
void smoothsharp_enhance();
void median_enhance();
void gaussian_enhance();
void lowpass_enhance();
void basrelief_enhance();
void gradient_enhance();
void venetian_enhance();

// Restores the filters' variables to their start-up values.
void reset_filter_state();
