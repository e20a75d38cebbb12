// The View commands that change the display, and their enablers.
#pragma once

void CmFit();
void CmGeo();
void CmBig();
void CmColPal();
void CmStretchPal();
void CmStretchMax();
void CmMirror();
void CmMaxStretchOn();
void CmMaxStretchOff();

// Registers the display's commands and enablers in the command map.
void register_display_commands();
