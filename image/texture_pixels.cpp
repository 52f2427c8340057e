#include "image/texture_pixels.h"

#include <cstdint>
#include <limits>
#include <new>

#include "image/png_image.h"

namespace {

// Sample `index` of a buffer of `depth`-bit samples packed without gaps, scaled to 8 bits.
std::uint8_t sample8(const std::uint8_t* samples, std::uint64_t index, std::uint32_t depth) {
    switch (depth) {
        case 16: return samples[index * 2];  // big-endian: the high byte comes first
        case 8: return samples[index];
        default: {
            const std::uint64_t bit = index * depth;
            const unsigned mask = (1u << depth) - 1;
            const unsigned shift = 8 - depth - static_cast<unsigned>(bit % 8);
            const unsigned value = (samples[bit / 8] >> shift) & mask;
            return static_cast<std::uint8_t>(value * 255 / mask);
        }
    }
}

void convert(const PngImage* image, std::uint64_t pixels, std::uint32_t channels, TexturePixels& out) {
    const std::uint8_t* samples = png_get_buffer(image);
    const std::uint32_t depth = png_get_bit_depth(image);
    out.converted.resize(pixels * 4);
    std::uint8_t* rgba = out.converted.data();
    for (std::uint64_t p = 0; p < pixels; ++p, rgba += 4) {
        const std::uint64_t first = p * channels;
        if (channels >= 3) {
            rgba[0] = sample8(samples, first, depth);
            rgba[1] = sample8(samples, first + 1, depth);
            rgba[2] = sample8(samples, first + 2, depth);
        } else {
            rgba[0] = rgba[1] = rgba[2] = sample8(samples, first, depth);
        }
        rgba[3] = (channels == 2 || channels == 4) ? sample8(samples, first + channels - 1, depth) : 255;
    }
}

// The format, channel count and sample depth must agree before the buffer size they imply can be trusted.
bool agreeing_layout(bool rgba8, std::uint32_t channels, std::uint32_t depth) {
    if (rgba8) return channels == 4 && depth == 8;
    const bool knownDepth = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    return channels >= 1 && channels <= 4 && knownDepth;
}

}  // namespace

TexturePixels texture_pixels(const PngImage* image) {
    TexturePixels out;
    if (!image) return out;
    const std::uint32_t width = png_get_width(image), height = png_get_height(image);
    constexpr std::uint32_t largestSide = std::numeric_limits<std::int32_t>::max();  // GLsizei
    if (width > largestSide || height > largestSide) return out;
    if (!png_get_buffer(image)) {
        out.width = width;
        out.height = height;
        return out;
    }
    if (png_get_format(image) == PngFormat::BadFormat) return out;

    const std::uint32_t channels = png_get_channels(image), depth = png_get_bit_depth(image);
    const bool rgba8 = png_get_format(image) == PngFormat::Rgba8;
    if (!agreeing_layout(rgba8, channels, depth)) return out;
    if (width == 0 || height == 0) return out;

    // A buffer of at most 4 GiB holds at most 2^35 one-bit pixels; beyond that the products below could wrap.
    const std::uint64_t pixels = std::uint64_t{width} * height;
    if (pixels > (std::uint64_t{1} << 35)) return out;
    const std::uint64_t needed = (pixels * channels * depth + 7) / 8;
    if (png_get_size(image) < needed) return out;

    if (rgba8) {
        out.rgba = png_get_buffer(image);
    } else {
        // Up to 32 output bytes per input byte: without the memory, the picture stays empty.
        try {
            convert(image, pixels, channels, out);
        } catch (const std::bad_alloc&) {
            return TexturePixels{};
        }
        out.rgba = out.converted.data();
    }
    out.width = width;
    out.height = height;
    return out;
}
