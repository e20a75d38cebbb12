// Locating a star: the centroid of a small window, snapping a point onto the star near it, and
// placing the 128 x 128 guide frame around the picked star.
#pragma once
#include <cstdint>

// What a measurement found. The results xcent, ycent, xcentdec, ycentdec change only on Measured.
enum class CentreOutcome {
    Measured,       // a centroid was found
    NothingFound,   // no sample above the background threshold (result code 0, results kept)
    Failed,         // window outside the plane, radius too large, or saturated (result code 1)
};

constexpr int MAX_CENTRE_RADIUS = 15;     // the work arrays hold (2 x 15 + 1)^2 samples

// The centroid of the star in the window of radius RAD around (STARTX, STARTY) of the plane
// FREDPTR. Returns 0 (measured, or nothing to measure) or 1 (failed); OUTCOME, when given, tells
// the first two apart.
int find_centre(int startx, int starty, const uint16_t* fredptr, int rad, CentreOutcome* outcome = nullptr);

struct CentrePoint { int x = 0; int y = 0; };

// Snaps POINT onto the star near it: three passes of find_centre with cur_rad, each moving the
// point (and the mouse pointer with it) to the centroid. A pass that measures nothing leaves the
// point where it is.
void search_centre(int x, int y, const uint16_t* fredptr, int rad, CentrePoint& point);

// Places the guide frame around the picked star (pick_xcent, pick_ycent): sets focus_x, focus_y,
// the star's position in the frame (xcent, ycent, drawx, drawy) and tracking.
void calc_guideframe();

// The centroid state besides the shared flags.
extern int old_xcent, old_ycent;      // the measurement current when the guide frame was set up
extern short focus_width1, focus_height1;   // half size of the guide frame
extern int drawx, drawy;              // the star's position inside the guide frame
extern int most_pop1;                 // background bin (of 4096) of the last measured window

void reset_star_centroid();
