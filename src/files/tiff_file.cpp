#include "tiff_file.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "store/geometry.h"
#include "store/planes.h"

namespace {
void put16(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v & 0xff);
    b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xff);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

void entry(std::vector<uint8_t>& b, int index, uint16_t tag, uint16_t type, uint32_t count, uint32_t value)
{
    const size_t at = 10 + static_cast<size_t>(index) * 12;
    put16(b, at, tag);
    put16(b, at + 2, type);
    put32(b, at + 4, count);
    if (type == 3 && count == 1)
        put16(b, at + 8, value);
    else
        put32(b, at + 8, value);
}
}

std::vector<uint8_t> tiff_bytes(const uint16_t* plane)
{
    const int rows_per_strip = height1 / 10;
    const uint32_t strip_bytes = static_cast<uint32_t>(rows_per_strip * width1);
    std::vector<uint8_t> b(TIFF_PIXELS_OFFSET + static_cast<size_t>(width1) * height1, 0);
    b[0] = 'I';
    b[1] = 'I';
    put16(b, 2, 42);
    put32(b, 4, 8);
    put16(b, 8, 13);
    entry(b, 0, 254, 4, 1, 0);
    entry(b, 1, 256, 3, 1, static_cast<uint32_t>(width1));
    entry(b, 2, 257, 3, 1, static_cast<uint32_t>(height1));
    entry(b, 3, 258, 3, 1, 8);
    entry(b, 4, 259, 3, 1, 1);
    entry(b, 5, 262, 3, 1, 1);
    entry(b, 6, 273, 4, 10, 186);
    entry(b, 7, 277, 3, 1, 1);
    entry(b, 8, 278, 4, 1, static_cast<uint32_t>(rows_per_strip));
    entry(b, 9, 279, 3, 10, 226);
    entry(b, 10, 282, 5, 1, 170);
    entry(b, 11, 283, 5, 1, 178);
    entry(b, 12, 296, 3, 1, 3);
    put32(b, 166, 0);
    put32(b, 170, 510);
    put32(b, 174, 6);
    put32(b, 178, 256);
    put32(b, 182, 6);
    for (uint32_t k = 0; k < 10; ++k) {
        put32(b, 186 + 4 * k, TIFF_PIXELS_OFFSET + k * strip_bytes);
        put16(b, 226 + 2 * k, strip_bytes);
    }
    for (int i = 0; i < width1 * height1; ++i)
        b[TIFF_PIXELS_OFFSET + static_cast<size_t>(i)] = high_byte(plane, i);
    return b;
}

int SaveTifFile(const std::string& name, const uint16_t* plane)
{
    const auto bytes = tiff_bytes(plane);
    auto writer = services().files->create(services().paths->native(name));
    if (!writer)
        return 1;
    // Header with the entry count, then the pixels in sixteen pieces, as the format was always written.
    if (!writer->write(bytes.data(), TIFF_PIXELS_OFFSET))
        return 1;
    const size_t piece = static_cast<size_t>(writefile16);
    for (int k = 0; k < 16; ++k)
        if (!writer->write(bytes.data() + TIFF_PIXELS_OFFSET + k * piece, piece))
            return 1;
    return writer->commit() ? 0 : 1;
}
