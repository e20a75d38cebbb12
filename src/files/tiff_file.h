// 8-bit greyscale TIFF export of the current image (the high byte of every sample), little-endian,
// one directory of 13 entries, 10 uncompressed strips.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int TIFF_PIXELS_OFFSET = 246;

// The whole file for the current geometry.
std::vector<uint8_t> tiff_bytes(const uint16_t* plane);
// Writes it: 0 written, 1 failed (the previous file stays).
int SaveTifFile(const std::string& name, const uint16_t* plane);
