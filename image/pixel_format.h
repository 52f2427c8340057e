// The colour type and bit depth pairs the decoder accepts.
#pragma once

#include <cstdint>

#include "image/png_image.h"

// Grey 1, RGB 3, grey with alpha 2, RGBA 4; palette and every other type 0.
uint32_t channels_of_colour_type(uint32_t colourType);

// BadFormat for every pair the decoder does not read.
PngFormat format_of(uint32_t colourType, uint32_t bitDepth);
