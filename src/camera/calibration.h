// Automatic dark subtraction and flat fielding of camera frames from chosen calibration files,
// and the commands that choose the files.
#pragma once
#include <cstdint>
#include <string>

// Subtracts the dark frame (read from FILE_NAME into DARK unless LOADED) from IMAGE:
// 0 done, 11 no file object, 12 not a usable dark frame.
int auto_remove(int loaded, const std::string& file_name, uint16_t* image_plane, uint16_t* dark);
// Applies the flat field (read into FLAT unless LOADED) to IMAGE, rows 2 and on; same results.
int auto_flatfield(int loaded, const std::string& file_name, uint16_t* image_plane, uint16_t* flat);
// Reads a calibration file of the current geometry into PLANE: 0, 11 or 12 as above.
int read_calibration_file(const std::string& file_name, uint16_t* plane);

void CmDarkFile();
void CmFlatField();
