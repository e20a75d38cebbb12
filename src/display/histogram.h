// The brightness histogram of the shown image and the background level derived from it.
#pragma once
#include <cstdint>

extern uint32_t table[257];   // bins 0..255 count samples by their high byte; 256 is never counted
extern int32_t most_pop;      // background level in 8-bit units

// Counts the high bytes of intlength - width1_10 samples starting half a row into PLANE and sets
// most_pop to the mean of the three fullest bins.
void build_histogram(const uint16_t* plane);
// Counts samples 10240..25599 and sets most_pop to the fullest bin (lowest on ties).
void find_most_pop(const uint16_t* plane);
