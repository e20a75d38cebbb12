// The display bitmap files: 8-bit BMP with a 256-entry colour table, bottom row first.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "palette.h"
#include "platform/file_system.h"
#include "platform/painter.h"

constexpr const char* DISPLAY_BMP = "c:\\skyvane.bmp";
constexpr const char* FOCUS_BMP = "c:\\skyvanef.bmp";
constexpr int BMP_HEADER_BYTES = 1078;

// The 1078-byte file header, information header and colour table.
Bytes bmp_header(int width, int height, const ColourTable& colours);

// Writes the frame as the BMP file of the current state. Returns 0 (written), 1 (file not
// created), 2 (header not written), 3 (pixels not written).
int write_bmp(const uint8_t* frame, uint8_t* bitmap_rows, int focus, int geo);

// Reads an 8-bit BMP as written above (any row order); nothing when it is not such a file.
std::optional<Bitmap8> read_bmp(const Bytes& file);
