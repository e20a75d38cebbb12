// The autosave of shown frames (and Quick Save): each frame is stamped with the middle of its
// exposure in universal time and written as the next numbered FITS file "IMG<n>.FIT" in the
// autosave folder; then the settings file keeps the new number.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

// Calendar times of the current exposure in UT seconds: local wall-clock time + FITS_Diff hours.
extern std::time_t start_exp;   // the exposure (or sequence) started
extern std::time_t end_exp;     // its image was shown
extern const char* const auto_save_name;   // "IMG"

// Now in UT seconds on the program's clock (local time + FITS_Diff hours, no daylight rule).
std::time_t calendar_now();
// FITS_Date and FITS_Time from the middle of the exposure.
void stamp_mid_exposure();
// The autosave file name for number N.
std::string auto_save_file(unsigned number);
// Writes FREDPTR as the next numbered file: 1 when the FITS writer failed, otherwise the result
// of saving the settings file (0 saved).
int auto_save(const uint16_t* fredptr);
// Quick Save: the autosave on the current image, message 49 when it fails.
void CmSaveAsFits();

void reset_autosave_state();
