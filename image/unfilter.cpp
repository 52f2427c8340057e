#include "image/unfilter.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "image/png_internal.h"

namespace {

constexpr uint32_t BAD_FILTER_TYPE = 748;
constexpr uint32_t NO_BITS_PER_PIXEL = 818;

uint8_t paeth(int a, int b, int c)
{
    const int pa = std::abs(b - c);          // |p - a| with p = a + b - c
    const int pb = std::abs(a - c);          // |p - b|
    const int pc = std::abs(a + b - 2 * c);  // |p - c|
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// One row: `x` the filtered bytes, `prev` the reconstructed row above (null in
// the first row), `step` the bytes per pixel (at least 1). `row` may lie below
// `x` in the same block, so every loop runs forwards byte by byte.
void unfilter_row(uint8_t* row, const uint8_t* x, const uint8_t* prev, size_t size, size_t step, uint8_t type)
{
    const size_t lead = step < size ? step : size;
    switch (type) {
    case 0:
        std::memmove(row, x, size);
        break;
    case 1:
        std::memmove(row, x, lead);
        for (size_t i = step; i < size; ++i)
            row[i] = static_cast<uint8_t>(x[i] + row[i - step]);
        break;
    case 2:
        if (prev == nullptr) {
            std::memmove(row, x, size);
            break;
        }
        for (size_t i = 0; i < size; ++i)
            row[i] = static_cast<uint8_t>(x[i] + prev[i]);
        break;
    case 3:
        if (prev == nullptr) {
            std::memmove(row, x, lead);
            for (size_t i = step; i < size; ++i)
                row[i] = static_cast<uint8_t>(x[i] + (row[i - step] >> 1));
            break;
        }
        for (size_t i = 0; i < lead; ++i)
            row[i] = static_cast<uint8_t>(x[i] + (prev[i] >> 1));
        for (size_t i = step; i < size; ++i)
            row[i] = static_cast<uint8_t>(x[i] + ((row[i - step] + prev[i]) >> 1));
        break;
    case 4:
        if (prev == nullptr) {  // the predictor reduces to the byte on the left
            unfilter_row(row, x, nullptr, size, step, 1);
            break;
        }
        for (size_t i = 0; i < lead; ++i)  // ... and here to the byte above
            row[i] = static_cast<uint8_t>(x[i] + prev[i]);
        for (size_t i = step; i < size; ++i)
            row[i] = static_cast<uint8_t>(x[i] + paeth(row[i - step], prev[i], prev[i - step]));
        break;
    }
}

// Appends `bitCount` bits from the start of `row` to `pixels` at bit offset
// `at`, most significant bit first. `pixels` is zero where the bits go.
void pack_row_bits(uint8_t* pixels, uint64_t at, const uint8_t* row, uint64_t bitCount)
{
    uint8_t* to = pixels + at / 8;
    const auto shift = static_cast<uint32_t>(at % 8);
    for (uint64_t taken = 0; taken < bitCount; taken += 8) {
        const uint64_t bits = bitCount - taken < 8 ? bitCount - taken : 8;
        const auto value = static_cast<uint8_t>(*row++ & (0xFF00u >> bits));
        *to |= static_cast<uint8_t>(value >> shift);
        if (shift + bits > 8)
            to[1] |= static_cast<uint8_t>(value << (8 - shift));
        ++to;
    }
}

}  // namespace

PngError unfilter_scanlines(PngImage* image, uint8_t* out, const uint8_t* in, uint32_t width, uint32_t height,
                            uint32_t bitsPerPixel)
{
    const size_t rowSize = (size_t{width} * bitsPerPixel + 7) / 8;
    const size_t step = bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
    const uint8_t* prev = nullptr;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* filtered = in + y * (rowSize + 1);
        if (filtered[0] > 4)
            return png_fail(image, PngError::Malformed, BAD_FILTER_TYPE);
        uint8_t* row = out + y * rowSize;
        unfilter_row(row, filtered + 1, prev, rowSize, step, filtered[0]);
        prev = row;
    }
    return image->error;
}

PngError reconstruct_pixels(PngImage* image, uint8_t* pixels, uint8_t* scanlines, uint32_t width, uint32_t height,
                            uint32_t bitsPerPixel)
{
    if (bitsPerPixel == 0)
        return png_fail(image, PngError::Malformed, NO_BITS_PER_PIXEL);
    const uint64_t rowBits = uint64_t{width} * bitsPerPixel;
    if (bitsPerPixel >= 8 || rowBits % 8 == 0)
        return unfilter_scanlines(image, pixels, scanlines, width, height, bitsPerPixel);

    if (unfilter_scanlines(image, scanlines, scanlines, width, height, bitsPerPixel) != PngError::None)
        return image->error;
    const size_t rowSize = (rowBits + 7) / 8;
    for (uint32_t y = 0; y < height; ++y)
        pack_row_bits(pixels, y * rowBits, scanlines + y * rowSize, rowBits);
    return PngError::None;
}
