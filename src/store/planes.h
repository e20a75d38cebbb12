// The five image planes, their cursors and the shared byte buffers. Allocated once for the life
// of the process; samples row by row from the top-left, low byte first when seen as bytes.
#pragma once
#include <cstdint>

constexpr int PLANE_SAMPLES = 436164;           // 752 x 580 + 4 spare samples
constexpr int FULL_WIDTH = 752, FULL_HEIGHT = 580;
constexpr int BINNED_WIDTH = 376, BINNED_HEIGHT = 290;
constexpr int SUBFRAME_SIDE = 128, SUBFRAME_SAMPLES = 16384;

extern uint16_t image_int[PLANE_SAMPLES];
extern uint16_t trial_int[PLANE_SAMPLES];
extern uint16_t undo_int[PLANE_SAMPLES];
extern uint16_t save_int[PLANE_SAMPLES];
extern uint16_t comparison_int[PLANE_SAMPLES];

// A cursor denotes a whole plane, as samples (fred3) or as bytes (fred2).
struct PlaneCursor {
    uint16_t* fred3 = nullptr;
    uint8_t* fred2 = nullptr;
    void point_at(uint16_t* plane) { fred3 = plane; fred2 = reinterpret_cast<uint8_t*>(plane); }
};

extern PlaneCursor image, trial, undo, save, comparison;

// Points every cursor at the start of its own plane.
void reset_cursors();

extern uint8_t pixels_c[PLANE_SAMPLES];         // 8-bit display frame, rows top-down
extern uint8_t pixels_bmp[PLANE_SAMPLES];       // the same in bitmap order (bottom row first)
extern uint8_t newpixels_c[872322];             // staging buffer of the TIFF writer
extern uint8_t pixels_int[872320];              // byte staging of a whole 16-bit data section

// High byte of sample i of a plane: what the display and every 8-bit export use.
inline uint8_t high_byte(const uint16_t* plane, int i) { return static_cast<uint8_t>(plane[i] >> 8); }
