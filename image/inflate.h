// Inflate: a zlib stream of deflate blocks into a buffer of known size.
#pragma once

#include <cstdint>

#include "image/png_image.h"

// Decodes the zlib stream in[0..inSize) into out[0..outSize). Failures are
// recorded in the image as Malformed with the number of the failed check.
// The Adler-32 trailer and anything after the final block are ignored. Output
// bytes a successful stream does not reach are set to zero, so a short stream
// reads as zeros and never as whatever the block held.
PngError inflate(PngImage* image, uint8_t* out, uint32_t outSize, const uint8_t* in, uint32_t inSize);
