// The camera command: the camera dialog, then the exposure sequence it asks for.
#pragma once

// Command 12, "Qv Camera Interface".
void ZR_Control();
// Command 25: the next left click places the focus window.
void CmFocusFrame();
// Command 26: the focus window back at its default place.
void CmFocusFrameReset();
// The refresh after a camera frame: end time, calibration history lines, display, autosave.
void CmShowImage();
