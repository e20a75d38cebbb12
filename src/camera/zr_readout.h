// The camera's command packets, the block geometry of each readout mode and the copies into the
// current image plane, the focus and guide frames, and the two post-processing steps of the
// full-resolution modes (row interpolation and field equalisation).
#pragma once
#include <cstdint>

extern int exposure;             // milliseconds of the exposure in progress
extern char exp_range;           // camera dialog: 'q', 'h', 't', 's' or 'm'
extern int exp_value;            // camera dialog: count in units of the range
extern int download_time;        // ms of one full-resolution field transfer; 3000 until measured
extern int interlaced_line;      // the full-resolution field read fills the odd rows
extern int max_value;            // peak measure of the last focus frame
extern long selfguiding_exposure;  // guide-frame exposure during a self-guided exposure, ms
extern int switched_frame;       // the self-guiding frame has been switched in this exposure

// Block geometry of the three readout modes.
constexpr int BINNED_BLOCK_BYTES = 247936;    // 298 lines of 416 samples
constexpr int FIELD_BLOCK_BYTES = 495872;     // 298 lines of 832 samples
constexpr int WINDOW_BLOCK_BYTES = 32768;     // 128 x 128 samples

// Control commands.
void ZR_wiper();
void ZR_clearvert();
void ZR_reader();
void ZR_reader2();
void ZR_reader3();

// Block reads into the current plane.
void ZR_binned_read();
void ZR_first_read();
void ZR_focus_read();
void ZR_guide_read();

// Exposure in ms of a range letter and value: 'h' x 10, 't' x 100, 'q' x 1, any other x 1000.
int range_exposure(char range, long value);
// Bytes 1 and 2 of the block-read command for an exposure of MS milliseconds.
void exposure_bytes(int ms, uint8_t& low, uint8_t& high);
// Bytes 3 to 6 of a window read for the window at (FX, FY).
void window_bytes(int fx, int fy, uint8_t out[4]);
// The host-timed wait after a wipe: loops on the clock for MS ms when MS is 500 or more,
// clearing the vertical registers on each pass when it is above 600.
void host_timed_exposure(long ms);
// Peak measure of a 128 x 128 window: a sample counts only when the one above it also exceeds
// the running maximum (both divided by 4).
uint16_t window_peak(const uint16_t* window);
// Multiplies the 16384 window samples by the factor of focus_stretch (unless max_stretch or 16).
void stretch_window(uint16_t* window);

// One focus frame; returns the peak measure.
uint16_t ZR_camera_read();
// One guide frame with the camera dialog's exposure / with selfguiding_exposure.
void ZR_camera_guide();
void ZR_camera_selfguide();

// Interpolates the odd rows 1..577 of a 752 x 580 image from their even neighbours.
void fill_binned(uint16_t* fredptr);
// Brings the odd-row field of a 752 x 580 image to the level of the even-row field.
void correct_variation(uint16_t* fredptr);
// The bias correct_variation derives from row 0.
int variation_bias(const uint16_t* fredptr);

void reset_readout();
