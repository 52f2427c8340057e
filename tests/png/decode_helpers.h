// Decoding a byte block in the tests: the result's fields copied out of the
// image object, which is freed at once.
#pragma once

#include <cstdint>
#include <vector>

#include "image/png_image.h"

namespace pngwrite {

struct Decoded {
    PngError error;
    uint32_t detail;
    uint32_t width;
    uint32_t height;
    PngFormat format;
    bool hasBuffer;
    std::vector<uint8_t> pixels;
};

inline Decoded decode(const std::vector<uint8_t>& file)
{
    PngImage* image = png_new_from_bytes(file.data(), static_cast<uint32_t>(file.size()));
    png_decode(image);
    const uint8_t* buffer = png_get_buffer(image);
    Decoded d{png_get_error(image), png_get_error_detail(image), png_get_width(image), png_get_height(image),
              png_get_format(image), buffer != nullptr, {}};
    if (buffer != nullptr)
        d.pixels.assign(buffer, buffer + png_get_size(image));
    png_free(image);
    return d;
}

}  // namespace pngwrite
