// Scanline reconstruction: undoing the PNG row filters and packing
// sub-byte pixels into the pixel buffer.
#pragma once

#include <cstdint>

#include "image/png_image.h"

// Undoes filters 0-4 of `height` rows, each a filter-type byte and
// ceil(width * bitsPerPixel / 8) bytes, writing the rows back to back into
// `out`. `out` may be `in` itself: every row is written at or below the
// address it is read from. A filter type above 4 fails as Malformed and stops
// before that row.
PngError unfilter_scanlines(PngImage* image, uint8_t* out, const uint8_t* in, uint32_t width, uint32_t height,
                            uint32_t bitsPerPixel);

// Builds the pixel buffer (ceil(width * height * bitsPerPixel / 8) bytes,
// zero-filled by the caller) from the inflated scanlines. Sub-byte rows whose
// bits do not fill whole bytes are reconstructed in place in `scanlines` and
// then packed bit for bit, so a row may begin in the middle of a byte.
PngError reconstruct_pixels(PngImage* image, uint8_t* pixels, uint8_t* scanlines, uint32_t width, uint32_t height,
                            uint32_t bitsPerPixel);
