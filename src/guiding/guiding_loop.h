// "Start Auto-Guiding": guide frames from the camera, one correction step per frame, until a key
// or mouse press or a lost star ends it. The correction step is shared with self-guiding.
#pragma once
#include <cstdint>

// Guiding state besides the shared flags and the reference position guide_ref::x1 / y1 and the
// offsets x3 / y3 of the guiding information window (camera/info_dialog.h).
extern int fst;                      // the next guide frame is the first of a guiding run
extern int x1dec, y1dec;             // tenths of the reference position
extern char lastslewx, lastslewy;    // direction letter of the last RA and Dec correction

void reset_guiding_loop();

// How far the guide star's brightest sample stood above the background when the reference was
// taken; a frame whose star stands less than 30 % as high shows no usable star (a cloud) and is
// not corrected. 0: not known yet, every measured frame counts.
extern int reference_peak;
// The height of the brightest sample above the background in the window of the last measurement
// around the reference (guide_ref::x1, y1) in FREDPTR.
int star_peak(const uint16_t* fredptr);
// Takes the peak of the star in FREDPTR as the reference peak.
void remember_star_peak(const uint16_t* fredptr);

// One axis of a correction: the pulse a measured error asks for.
struct AxisPulse {
    bool corrected = false;   // the error was above the axis threshold
    char direction = 0;       // the letter sent
    int slew_time = 0;        // pulse length in ms; no pulse unless above 0
};
// The pulse for ERROR (thousandths of a pixel) on one axis: corrected above THRESHOLD, towards
// PLUS for a positive error, else MINUS; a change against LAST adds BACKLASH to the signed error
// (LAST takes the new letter); the length is |error / rate| less HYST x 100 ms.
AxisPulse axis_pulse(int32_t error, int threshold, char plus, char minus, char& last, int backlash, int rate,
                     int hyst);

// The correction step on the guide frame in FREDPTR: measure around the reference, compute the
// errors (x3, y3) and pulse each axis. 0 done (also when the frame shows no star, or one far
// fainter than the reference: nothing is corrected), 3 star lost (the measurement failed; guiding, selfguiding and tracking cleared).
int guide_telescope(const uint16_t* fredptr);

// Command 23.
void CmStartGuide();
