// The values the settings record "c:\autosave\Skyvane.INI" persists, with their start-up values.
// The settings reader and writer, the defaults dialog and every user read these.
#pragma once
#include <string>

extern int auto_save_num;        // number of the last autosaved file
extern int FITS_Diff;            // hours to add to local time to get universal time
extern char fast_par;            // legacy interface option
extern int default_port;         // legacy port selector
// star_mask lives with the shared flags (store/flags.h)
extern int default_speed;        // legacy speed selector
extern char slewcom;             // '1' COM1, '2' COM2
extern int slewdefault;          // guide training time in seconds: 1, 2 or 4
extern char default_back;        // window background: 'l' light grey, 'g' dark grey, other red
extern int focus_delay;          // one second pause between focus frames
extern int slewx, slewy;         // guide rates, pixels per second
extern int backlashx, backlashy; // backlash 0..20
extern int ignore_small;         // ignore drifts below one pixel
extern char telescope;           // 'l' Meade LX200, 'b' control box, 'n' none
extern int disable_interrupts;   // disable interrupts during the image download
extern int hystx, hysty;         // hysteresis 0..20
extern char n, s, e, w;          // the letters sent for north, south, east and west
extern std::string FITS_Obj, FITS_Tel, FITS_Ins, FITS_Obs, FITS_Src;
extern std::string FITS_His, FITS_Com;   // up to 255 characters each
extern std::string FITS_Filter;
extern double FITS_Aperture, FITS_Focallen;
extern int FITS_SBIG;            // 16-bit FITS data without offset
extern int Mk2_fast_par;         // legacy interface option
extern int apply_correction;     // correct line-to-line variation of high-resolution images
extern int Losmandy_pause;       // 70 ms pause when the correction direction changes
extern int gotcontrolbox;        // a second-generation control box is present
extern int Debug_Mode;           // debug information while guiding
extern std::string auto_save_subdir;
extern std::string auto_save_dir;   // "c:\AUTOSAVE\" + sub-folder, or "c:\AUTOSAVE"

// Restores every value above to its start-up value.
void reset_settings_values();
