// The settings file "c:\autosave\Skyvane.INI": a fixed binary record of 1258 bytes (little-endian
// integers, one-letter codes, 80-character text cards) holding the values of settings_values.h.
#pragma once
#include <string>

#include "platform/file_system.h"

constexpr const char* INI_FILE = "c:\\autosave\\Skyvane.INI";
constexpr const char* INI_FOLDER = "c:\\autosave";
constexpr int INI_LENGTH = 1258;

// The time-zone rule installed after every load and save: "TZ=GMT" followed by FITS_Diff. Kept
// as state only; universal time is computed as local time + FITS_Diff hours (fits_time.h).
extern std::string tz_rule;
void set_time_zone_rule();

// The record for the current values.
Bytes settings_record();
// Reads the settings: 0 loaded, 2 missing or short (the fields before the cut are taken),
// 3 a field failed its check and the rewrite failed. A field that fails its check keeps its
// previous value, the rest is still read, then the file is rewritten from the values.
int LoadINIFile(const std::string& path = INI_FILE);
// Writes the settings: 0 written, 3 failed (the previous file stays).
int SaveINIFile(const std::string& path = INI_FILE);

// The autosave directory from the sub-folder name.
void set_auto_save_dir();
// The background colour from default_back.
void set_background_colour();
// Clamps of the values the program itself writes (training, the defaults dialog).
int clamp_backlash(int value);      // 0..20, also the hysteresis
int clamp_rate(int value);          // at least 1
