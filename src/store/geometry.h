// The active frame geometry, shared by every plane, set together by QV_binned from `binned`.
#pragma once

extern int width1;      // samples per row
extern int width1_10;   // samples in the first ten rows
extern int width2;      // index of the last column
extern int width3;      // bytes per row
extern float width1f;
extern int height1;     // rows
extern int height2;     // index of the last row
extern float height1f;
extern int intlength;   // samples visited by whole-image loops: width1 x height1 + 4
extern int writefile16; // one sixteenth of width1 x height1

// Sets the geometry from `binned`; the full geometry also clears the display flags Geo and Big.
void QV_binned();

// The geometry of an image loaded, restored or read as a whole frame: `binned` for the binned
// frame, else the fast full-resolution flag; the other readout flags cleared; then QV_binned.
void set_frame_geometry(bool binned_frame);

// A plane whose samples 4 and 5 add up to 34 carries a header in its first ten rows.
bool is_header_marked(const unsigned short* plane);
// First sample index a stretch or filter may change: width1_10 on a marked plane, else 0.
int first_processed_sample(const unsigned short* plane);
