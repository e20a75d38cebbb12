// The pick mode: "Pic&k Guide Star" arms it, and the main window's click handler homes the click
// onto the star through the mouse-mode handler installed here.
#pragma once

void CmPickStar();
// The check mark of the menu item while the pick mode is on.
struct CommandState;
CommandState CePickStar();
// The homing step of a click: measures around (X, Y) with radius R in the current image. False
// when the measurement failed; when nothing was found the click point itself is kept as the
// result (xcent, ycent), so the caller never moves to a stale centroid.
bool home_click_on_star(int x, int y, int r);

void register_pick_star();
