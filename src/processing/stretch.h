// The contrast stretches: each kernel fills a 32768-entry table from its formula, asks the main
// window to apply it to the current image (internal command 888) and appends its history line.
#pragma once
#include <cstdint>

constexpr int STRETCH_ENTRIES = 32768;
constexpr int CMD_CONTRAST_STRETCH = 888;

extern uint16_t stretch_table[STRETCH_ENTRIES];   // output for index sample >> 1, 0..32767

// The integer parameters of the Contrast and Filters dialogs (levels, power, radius).
extern uint32_t black;
extern uint32_t white;
extern double power_str;                          // Power Law exponent, 0.1 .. 3.0

// Table formulas, one per stretch, into T (32768 entries).
void normal_table(uint16_t* t, uint32_t black_level, uint32_t white_level);
void power_table(uint16_t* t, double p);
void sine_table(uint16_t* t);
void background_table(uint16_t* t, int32_t background);
void varnel_table(uint16_t* t, uint32_t power);
void log_table(uint16_t* t);
void antilog_table(uint16_t* t);
void invert_table(uint16_t* t);

// Sample s of PLANE[begin, end) becomes 2 x T[s >> 1].
void apply_stretch(uint16_t* plane, int begin, int end, const uint16_t* t);

// The kernels (menu commands call them after their dialogs).
void ContrastNormal();
void ContrastPower();
void ContrastSine();
void ContrastBackground();
void ContrastVarnel();
void logstretch();
void antilog();
void ContrastInvert();

// Command 888: applies stretch_table to the current image, with undo copy, progress and refresh.
void contrast_stretch();

// Restores the stretch variables to their start-up values.
void reset_stretch_state();
