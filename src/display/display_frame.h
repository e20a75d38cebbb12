// The 8-bit display frame: the high byte of each shown sample, optionally resampled to 564 x 452.
#pragma once
#include <cstdint>

struct FrameSize { int width; int height; };

// The size of the frame for the current state (focus/tracking, binned with Geo or Big, full).
FrameSize display_frame_size(int focus, int geo);

// Builds FRAME from a plane given as its bytes, starting at the high byte of the first sample and
// read with a stride of 2; FOCUS selects the 128 x 128 sub-frame, GEO the resample.
void setup_image(const uint8_t* high_bytes, uint8_t* frame, int focus, int geo);

// The current image into pixels_c.
void DisplayImage();
