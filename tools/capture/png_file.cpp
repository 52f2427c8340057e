#include "tools/capture/png_file.h"

#include <png.h>

#include <cstring>

bool writeRgbPng(const std::string& path, const std::vector<std::uint8_t>& pixels, int width, int height,
                 std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (pixels.size() != PNG_IMAGE_SIZE(image)) {
        error = "internal error: the picture has the wrong number of bytes";
        return false;
    }
    if (png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr) == 0) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}
