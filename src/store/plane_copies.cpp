#include "plane_copies.h"

#include <cstring>

#include "flags.h"
#include "geometry.h"
#include "planes.h"

namespace {
void copy_samples(uint16_t* destination, const uint16_t* source)
{
    std::memmove(destination, source, static_cast<size_t>(intlength) * sizeof(uint16_t));
}
}

void undo_image(const uint16_t* source, uint16_t* destination) { copy_samples(destination, source); }
void restore_image(uint16_t* destination, const uint16_t* source) { copy_samples(destination, source); }
void copy_image(uint16_t* destination, const uint16_t* source) { copy_samples(destination, source); }
void backup_image(const uint16_t* source, uint16_t* destination) { copy_samples(destination, source); }

void do_add_image(uint16_t* image_plane, const uint16_t* other, int mode)
{
    if (mode != 0)
        return;
    for (int y = 0; y < height1; y += 2)
        std::memcpy(image_plane + y * width1, other + y * width1, static_cast<size_t>(width1) * sizeof(uint16_t));
}

int undo_binned = 1;

void undo_save_option()
{
    undo_binned = binned;
    undo_image(image.fred3, undo.fred3);
    image.point_at(image_int);
    undo.point_at(undo_int);
}
