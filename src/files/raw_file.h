// The program's own "QV File": the rows of the current image as 16-bit little-endian samples,
// nothing else (218080 bytes binned, 872320 full). Open, save and delete by name, the loader of
// the current image and the reader of the partner plane.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

constexpr int64_t QV_BINNED_LENGTH = 218080;
constexpr int64_t QV_FULL_LENGTH = 872320;

extern std::string lastfile;     // name last opened (lower case); the open dialog starts with it
extern std::string file_name;    // full path shown in the delete confirmation
extern int save_tif, save_FITS;  // route the save command to the TIFF or FITS writer
extern int delete_file;          // route the shared file chooser to the delete confirmation

// Loads a QV File or a FITS file of this program as the current image and refreshes. NAME is a
// program name (resolved against the current folder) or a native path.
void LoadZRFile(const std::string& name);
// The same with the caption name and the file given apart; false when nothing was loaded.
bool load_zr_file(const std::string& caption_name, const std::string& native_path);
// Writes the current image as a QV File.
void SaveZRFile(const std::string& name);
// Reads a file of the current geometry into a plane: 0 loaded, 1 no file object, 2 length not
// recognised or of the other geometry, 12 a FITS header card or the data not as expected. On
// failure the plane is unchanged.
int trial_load(uint8_t* plane_bytes, uint16_t* plane, const std::string& name);
// trial_load into trial_int with the messages: 0 loaded, 1 failed.
int LoadZRTempFile(const std::string& name);
// The delete confirmation of the shared file chooser, for a file chosen in its dialog.
void confirm_and_delete(const std::string& native_path);

// What merge mode does when a new image is opened during it; the merging code installs both.
// merge_image_opening runs before the file is read (the image so far is the first image of the
// merge), merge_image_opened only after it was read (the new image is the partner). Empty:
// nothing more.
extern std::function<void()> merge_image_opening;
extern std::function<void()> merge_image_opened;

void CmFileOpen();
void CmFileSave();
void CmFileDelete();
void CmTifSave();

void reset_raw_file_state();
