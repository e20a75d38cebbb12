// Start-up state of the image store: the test image and every variable's start-up value.
#pragma once

// Restores every variable of the store to its start-up value and points the cursors.
void reset_store();
// Fills the planes with the start-up test image: a vertical ramp y x 225 in image_int, trial_int
// and undo_int over the binned geometry, zeros in save_int and comparison_int.
void fill_test_image();
