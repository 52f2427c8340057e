// Any bytes through png_new_from_bytes and png_decode: no crash, no leak, no
// read or write outside a block, and the object stays consistent.
#include <cstddef>
#include <cstdint>

#include "image/png_image.h"

namespace {

// A header may ask for any picture size, and the decoder allocates and walks
// what it asks for: a filter byte per row and up to 8 bytes per pixel.
// Larger pictures only exercise the allocator and the clock, so they are left
// out.
constexpr uint64_t MAX_SCANLINE_BYTES = uint64_t{1} << 21;

uint32_t read_be32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    if (size >= 24 && uint64_t{read_be32(data + 20)} * (1 + uint64_t{read_be32(data + 16)} * 8) > MAX_SCANLINE_BYTES)
        return 0;
    PngImage* image = png_new_from_bytes(data, static_cast<uint32_t>(size));
    if (image == nullptr)
        return 0;

    const PngError error = png_decode(image);
    check(error == png_get_error(image));
    const uint8_t* buffer = png_get_buffer(image);
    check((buffer != nullptr) == (error == PngError::None));
    if (buffer != nullptr) {
        // Every byte of the buffer is readable and it is exactly as large as
        // the format says.
        volatile uint8_t sink = 0;
        for (uint32_t i = 0; i < png_get_size(image); ++i)
            sink = static_cast<uint8_t>(sink ^ buffer[i]);
        const uint64_t bits = uint64_t{png_get_width(image)} * png_get_height(image) * png_get_bpp(image);
        check(png_get_size(image) == (bits + 7) / 8);
    }
    // A second decode changes nothing.
    check(png_decode(image) == error);
    check(png_get_buffer(image) == buffer);
    png_free(image);
    return 0;
}
