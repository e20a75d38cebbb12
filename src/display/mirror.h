// Mirrors the current image left to right in place (header rows of a marked image excepted).
#pragma once
#include <cstdint>

void mirror_image(uint16_t* image_plane, uint16_t* scratch);
