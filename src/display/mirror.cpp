#include "mirror.h"

#include <cstring>

#include "store/geometry.h"

void mirror_image(uint16_t* image_plane, uint16_t* scratch)
{
    const int r0 = is_header_marked(image_plane) ? 10 : 0;
    for (int r = r0; r < height1; ++r) {
        const uint16_t* src = image_plane + r * width1;
        uint16_t* dst = scratch + r * width1;
        for (int x = 0; x <= width2; ++x)
            dst[width2 - x] = src[x];
    }
    const int from = r0 * width1;
    std::memcpy(image_plane + from, scratch + from, static_cast<size_t>(intlength - from) * sizeof(uint16_t));
}
