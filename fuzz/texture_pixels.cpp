// Any image object, consistent or not, through texture_pixels: whatever it hands to OpenGL must be
// readable in full, width * height * 4 bytes; a size without pixels only comes from an image that
// has none.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/png_image.h"
#include "image/texture_pixels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Header: width and height (16 bits each), colour type, bit depth, format, then the buffer.
    if (size < 7) return 0;
    PngImage image{};
    image.width = uint32_t{data[0]} << 8 | data[1];
    image.height = uint32_t{data[2]} << 8 | data[3];
    image.colourType = data[4];
    image.bitDepth = data[5];
    image.format = static_cast<PngFormat>(data[6] % 13);
    // A private copy, so the sanitizer sees the buffer's true end.
    const size_t bufferSize = size - 7;
    auto* buffer = new uint8_t[bufferSize ? bufferSize : 1];
    std::memcpy(buffer, data + 7, bufferSize);
    image.buffer = bufferSize ? buffer : nullptr;
    image.bufferSize = static_cast<uint32_t>(bufferSize);
    image.state = PngState::Decoded;

    const TexturePixels pixels = texture_pixels(&image);
    if (pixels.rgba) {
        volatile uint8_t sink = 0;
        const size_t bytes = size_t{pixels.width} * pixels.height * 4;
        for (size_t i = 0; i < bytes; ++i) sink = static_cast<uint8_t>(sink ^ pixels.rgba[i]);
    } else if ((pixels.width != 0 || pixels.height != 0) && image.buffer != nullptr) {
        __builtin_trap();
    }
    delete[] buffer;
    return 0;
}
