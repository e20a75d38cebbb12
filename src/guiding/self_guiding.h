// Self-guiding: during a long exposure the camera's other field gives the guide frames, measured
// and corrected through the correction step of the guiding loop. The exposure sequencer calls these
// at the start of the exposure, on every pass of its timing loop and at the half-time switch.
#pragma once

// Prepares self-guiding before the main exposure: 0 started, 1 not ready, 2 no connection to
// the telescope, 3 guide star not found.
int StartSelfGuide();
// One self-guiding step: a guide frame and (unless a matching dark frame runs) its correction.
void SelfGuide();
// The switch of the guiding frame halfway through a high-resolution exposure.
void SwitchSelfGuide();
// Looks for the control box (the self-guiding options need it) when it is the chosen interface:
// opens and resets it.
void find_control_box();
