// The pixels one decoded picture gives to OpenGL: 8-bit RGBA, rows top to bottom.
//
// A decoded Rgba8 picture is handed over as it is. Any other pixel format the decoder yields is
// converted to RGBA8 (grey spread over red, green and blue; 16-bit samples keep their high byte;
// missing alpha is opaque). A picture whose header was read but whose pixels were not keeps its
// size with no pixels: OpenGL then makes a texture of that size with undefined contents. A picture
// with an unknown format, with a buffer shorter than its size needs, too large for OpenGL, or too
// large to convert in the memory there is becomes an empty 0 x 0 picture, so an upload never reads
// past a buffer.
#pragma once

#include <cstdint>
#include <vector>

struct PngImage;

struct TexturePixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const std::uint8_t* rgba = nullptr;   // width * height * 4 bytes; null when there are none
    std::vector<std::uint8_t> converted;  // holds the pixels when they had to be converted
};

// image may be null (the image object could not be made).
TexturePixels texture_pixels(const PngImage* image);
