// FITS files of this program: the fixed 72-card header, 16-bit data (big-endian, with or without
// the 32768 offset) or 8-bit data, and the reader that takes back only files written this way.
// The FITS details describe the current image.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

// The details not kept in the settings file (the others are in settings_values.h).
extern std::string FITS_Date;     // YYYY-MM-DD
extern std::string FITS_Time;     // HH:MM:SS (UT)
extern double FITS_Exptime;
extern double FITS_Pixwidth;
extern double FITS_Pixheight;
extern int eightbit;              // the next "Save as FITS" writes 8-bit data

constexpr int FITS_CARD = 80;
constexpr int FITS_CARDS = 72;
constexpr int FITS_HEADER_BYTES = FITS_CARD * FITS_CARDS;   // 5760
constexpr int FITS_TRAILER_BYTES = 800;
constexpr int64_t FITS_BINNED_LENGTH = 224640;
constexpr int64_t FITS_FULL_LENGTH = 878880;
constexpr const char* BZERO_UNSIGNED = "BZERO   =   +0.0000000000E+00";

// One card: TEXT in 80 columns of spaces (cut at 80).
std::string fits_card(const std::string& text);
// "KEY= '" + value + "'" with the value cut to the 68 characters a card can hold.
std::string quoted_card(const char* keyword, const std::string& value);
// The four cards of a long text: pieces of 68 characters padded with spaces, quote in column 80.
std::array<std::string, 4> long_text_cards(const char* keyword, const std::string& text);
// The value of a quoted card: from column 12 up to the next apostrophe (or a zero byte of a
// damaged file) or the end of the card.
std::string card_text(const uint8_t* card);
// The long text read back from four cards: 68 + 68 + 68 + 51 characters.
std::string long_text_from_cards(const uint8_t* first_card);

// The 72 header cards for the current state (geometry, details, history, SBIG) and the data width.
std::string fits_header(int eight_bit);

// Writes the current image as FITS. 0 written, 1 failed (the previous file stays).
int SaveFITSFile(const std::string& fileTitle, const uint16_t* fredptr, const std::string& obj,
                 const std::string& obs, const std::string& date, const std::string& tel,
                 const std::string& ins, const std::string& com, const std::string& his, int eight_bit);

// A FITS file of this program read into staging; nothing in the program changes until apply().
struct FitsImage {
    int binned = 1;
    std::string obj, tel, ins, obs, src, date, time;
    std::array<std::string, 15> history;
    std::string his, com, filter;
    int sbig = 0;
    double pixwidth = 0, pixheight = 0, exptime = 0, focallen = 0, aperture = 0;
    std::vector<uint16_t> samples;     // width x height
};
// Checks the header and converts the data. Result 0, 1 (short file), 2 (not this program's
// 16-bit layout, or NAXIS1/NAXIS2 disagree with the length).
int parse_fits_file(const Bytes& file, FitsImage& out);
// Loads a FITS file of this program into FREDPTR with its details and geometry: 0 loaded,
// 1 read failure, 2 not a file of this program. On failure nothing changes.
int LoadFITSFile(const std::string& fileTitle, int oldfile, uint16_t* fredptr);
// Empties the details of the current image (the history rows too).
void ClearFITSInfo();

// Offset of card 36: 0 when it is the unsigned BZERO card, else 32768.
int fits_offset(const uint8_t* card36);
// The checks of the partner and calibration readers: 16-bit, two axes, the current geometry.
bool fits_header_fits_geometry(const uint8_t* header, int binned_geometry);

void reset_fits_state();
