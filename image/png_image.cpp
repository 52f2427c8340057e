// The image object: creation from a file or from bytes, release, getters.
#include "image/png_image.h"

#include <cstdio>
#include <cstdlib>

#include "image/pixel_format.h"
#include "image/png_internal.h"

namespace {

constexpr uint32_t DETAIL_FILE_NOT_OPENED = 1174;
constexpr uint32_t DETAIL_NO_MEMORY_FOR_FILE = 1187;

PngImage* allocate_image()
{
    auto* image = static_cast<PngImage*>(std::malloc(sizeof(PngImage)));
    if (image == nullptr)
        return nullptr;
    *image = PngImage{
        .width = 0,
        .height = 0,
        .colourType = 6,
        .bitDepth = 8,
        .format = PngFormat::Rgba8,
        .buffer = nullptr,
        .bufferSize = 0,
        .error = PngError::None,
        .errorDetail = 0,
        .state = PngState::New,
        .source = nullptr,
        .sourceSize = 0,
        .sourceOwned = false,
    };
    return image;
}

// Reads the whole file into a new block. Returns false (with the error set)
// when the file cannot be read; a file too large for the 32-bit source size
// counts as one whose contents do not fit in memory.
bool read_source(PngImage* image, std::FILE* file)
{
    long end = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        end = std::ftell(file);
    std::rewind(file);
    if (end < 0 || static_cast<unsigned long>(end) > UINT32_MAX) {
        png_fail(image, PngError::OutOfMemory, DETAIL_NO_MEMORY_FOR_FILE);
        return false;
    }
    auto size = static_cast<uint32_t>(end);
    auto* bytes = static_cast<uint8_t*>(std::malloc(size == 0 ? 1 : size));
    if (bytes == nullptr) {
        png_fail(image, PngError::OutOfMemory, DETAIL_NO_MEMORY_FOR_FILE);
        return false;
    }
    // A file that shrank since its size was taken gives fewer bytes; only
    // those that were read are ever looked at.
    image->sourceSize = static_cast<uint32_t>(std::fread(bytes, 1, size, file));
    image->source = bytes;
    image->sourceOwned = true;
    return true;
}

}  // namespace

PngImage* png_new_from_file(const char* path)
{
    PngImage* image = allocate_image();
    if (image == nullptr)
        return nullptr;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        png_fail(image, PngError::NotFound, DETAIL_FILE_NOT_OPENED);
        return image;
    }
    read_source(image, file);
    std::fclose(file);
    return image;
}

PngImage* png_new_from_bytes(const uint8_t* bytes, uint32_t size)
{
    PngImage* image = allocate_image();
    if (image == nullptr)
        return nullptr;
    image->source = bytes;
    image->sourceSize = size;
    return image;
}

void png_release_source(PngImage* image)
{
    if (image->sourceOwned)
        std::free(const_cast<uint8_t*>(image->source));
    image->source = nullptr;
    image->sourceSize = 0;
    image->sourceOwned = false;
}

void png_free(PngImage* image)
{
    if (image == nullptr)
        return;
    std::free(image->buffer);
    png_release_source(image);
    std::free(image);
}

uint32_t png_get_width(const PngImage* image) { return image->width; }
uint32_t png_get_height(const PngImage* image) { return image->height; }
const uint8_t* png_get_buffer(const PngImage* image) { return image->buffer; }
uint32_t png_get_size(const PngImage* image) { return image->bufferSize; }
PngError png_get_error(const PngImage* image) { return image->error; }
uint32_t png_get_error_detail(const PngImage* image) { return image->errorDetail; }
uint32_t png_get_bit_depth(const PngImage* image) { return image->bitDepth; }
PngFormat png_get_format(const PngImage* image) { return image->format; }

uint32_t png_get_channels(const PngImage* image)
{
    return channels_of_colour_type(image->colourType);
}

uint32_t png_get_bpp(const PngImage* image)
{
    return image->bitDepth * channels_of_colour_type(image->colourType);
}
