#include "calibration.h"

#include <cstring>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "processing/image_arithmetic.h"
#include "processing/merge_images.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

namespace {
constexpr size_t RAW_BINNED = 218080, FITS_BINNED = 224640, RAW_FULL = 872320, FITS_FULL = 878880;
constexpr size_t CARD = 80;

bool card_text_is(const Bytes& file, int card, int first_column, const char* text)
{
    const size_t at = static_cast<size_t>(card - 1) * CARD + static_cast<size_t>(first_column - 1);
    return std::memcmp(file.data() + at, text, std::strlen(text)) == 0;
}

// The fixed header of this program's FITS files: 16 bits, two axes of the current geometry.
bool fits_header_fits(const Bytes& file)
{
    return card_text_is(file, 2, 29, "16") && card_text_is(file, 3, 30, "2") &&
           card_text_is(file, 4, 28, binned ? "376" : "752") && card_text_is(file, 5, 28, binned ? "290" : "580");
}

void copy_raw(const Bytes& file, uint16_t* plane)
{
    for (int y = 0; y < height1; ++y)
        std::memcpy(reinterpret_cast<uint8_t*>(plane) + static_cast<size_t>(y) * width3,
                    file.data() + static_cast<size_t>(y) * width3, static_cast<size_t>(width3));
}

void copy_fits(const Bytes& file, uint16_t* plane)
{
    const bool no_offset = card_text_is(file, 36, 1, "BZERO   =   +0.0000000000E+00");
    const unsigned offset = no_offset ? 0 : 32768;
    const uint8_t* data = file.data() + 72 * CARD;
    std::memcpy(pixels_int, data, static_cast<size_t>(width3) * height1);
    for (int y = 0; y < height1; ++y)
        for (int x = 0; x < width1; ++x) {
            const size_t at = static_cast<size_t>(y) * width3 + 2 * static_cast<size_t>(x);
            plane[y * width1 + x] = static_cast<uint16_t>((pixels_int[at] * 256u + pixels_int[at + 1] + offset) % 65536u);
        }
}

}

int read_calibration_file(const std::string& file_name, uint16_t* plane)
{
    auto file = services().files->read(services().paths->native(file_name));
    if (!file)
        return 12;    // a file that cannot be opened has no valid length
    const size_t length = file->size();
    if (length != RAW_BINNED && length != FITS_BINNED && length != RAW_FULL && length != FITS_FULL)
        return 12;
    if ((length < 872000 && !binned) || (length > 872000 && binned))
        return 12;
    if (length == RAW_BINNED || length == RAW_FULL) {
        copy_raw(*file, plane);
        return 0;
    }
    if (!fits_header_fits(*file))
        return 12;
    copy_fits(*file, plane);
    return 0;
}

int auto_remove(int loaded, const std::string& file_name, uint16_t* image_plane, uint16_t* dark)
{
    if (!loaded)
        if (const int r = read_calibration_file(file_name, dark); r != 0)
            return r;
    for (int i = 0; i < intlength; ++i)
        image_plane[i] = image_plane[i] > dark[i] ? static_cast<uint16_t>(image_plane[i] - dark[i]) : 0;
    return 0;
}

int auto_flatfield(int loaded, const std::string& file_name, uint16_t* image_plane, uint16_t* flat)
{
    if (!loaded)
        if (const int r = read_calibration_file(file_name, flat); r != 0)
            return r;
    double level = 0.0;
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < width2; ++x)
            level += flat[y * width1 + x];
    level *= binned ? 1.0 / 3700 : 1.0 / 7460;
    for (int line = 2; line < height1; ++line)
        do_flat_field(image_plane, flat, level, line);
    return 0;
}

// The shared file chooser only takes the chosen name while its request flag is set.
void CmDarkFile()
{
    load_darkframe = 1;
    Merge_Image();
    load_darkframe = 0;
}

void CmFlatField()
{
    load_flatfield = 1;
    Merge_Image();
    load_flatfield = 0;
}
