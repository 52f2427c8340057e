// png_decode: the signature and IHDR, the chunk walk that gathers the IDAT
// data, then inflate and scanline reconstruction.
#include <cstdlib>
#include <cstring>

#include "image/inflate.h"
#include "image/pixel_format.h"
#include "image/png_image.h"
#include "image/png_internal.h"
#include "image/unfilter.h"

namespace {

constexpr uint32_t SOURCE_TOO_SHORT = 912;
constexpr uint32_t BAD_SIGNATURE = 918;
constexpr uint32_t FIRST_CHUNK_NOT_IHDR = 924;
constexpr uint32_t NO_FORMAT = 937;
constexpr uint32_t BAD_COMPRESSION_METHOD = 943;
constexpr uint32_t BAD_FILTER_METHOD = 949;
constexpr uint32_t INTERLACED = 955;
constexpr uint32_t CHUNK_HEADER_PAST_END = 1007;
constexpr uint32_t CHUNK_LENGTH_TOO_LARGE = 1014;
constexpr uint32_t CHUNK_PAST_END = 1020;
constexpr uint32_t CRITICAL_CHUNK = 1033;
constexpr uint32_t NO_MEMORY_FOR_DATA = 1043;
constexpr uint32_t SCANLINES_TOO_LARGE = 1066;
constexpr uint32_t NO_MEMORY_FOR_SCANLINES = 1073;
constexpr uint32_t NO_MEMORY_FOR_PIXELS = 1094;

constexpr uint8_t SIGNATURE[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t TYPE_IHDR = 0x49484452;
constexpr uint32_t TYPE_IDAT = 0x49444154;
constexpr uint32_t TYPE_IEND = 0x49454E44;
// Signature and a whole IHDR chunk (13 data bytes).
constexpr uint32_t FIRST_CHUNK_OFFSET = 33;
constexpr uint32_t CHUNK_OVERHEAD = 12;  // length, type and CRC

uint32_t read_be32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

// Never asks for 0 bytes, which may give null where a block is wanted.
uint8_t* allocate(uint64_t size, bool zeroed)
{
    const size_t bytes = size == 0 ? 1 : static_cast<size_t>(size);
    return static_cast<uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
}

void read_header(PngImage* image)
{
    const uint8_t* source = image->source;
    if (image->sourceSize <= 28) {
        png_fail(image, PngError::NotPng, SOURCE_TOO_SHORT);
        return;
    }
    if (std::memcmp(source, SIGNATURE, sizeof SIGNATURE) != 0) {
        png_fail(image, PngError::NotPng, BAD_SIGNATURE);
        return;
    }
    if (read_be32(source + 12) != TYPE_IHDR) {
        png_fail(image, PngError::Malformed, FIRST_CHUNK_NOT_IHDR);
        return;
    }
    image->width = read_be32(source + 16);
    image->height = read_be32(source + 20);
    image->bitDepth = source[24];
    image->colourType = source[25];
    image->format = format_of(image->colourType, image->bitDepth);
    if (image->format == PngFormat::BadFormat)
        png_fail(image, PngError::UnsupportedFormat, NO_FORMAT);
    else if (source[26] != 0)
        png_fail(image, PngError::Malformed, BAD_COMPRESSION_METHOD);
    else if (source[27] != 0)
        png_fail(image, PngError::Malformed, BAD_FILTER_METHOD);
    else if (source[28] != 0)
        png_fail(image, PngError::Interlaced, INTERLACED);
    else
        image->state = PngState::HeaderRead;
}

// A compressed-data block gathered from the IDAT chunks.
struct Gathered {
    uint8_t* bytes;
    uint32_t size;
};

// Calls visit(offset, length) for each IDAT chunk in file order, until IEND or
// the end of the source, after checking every chunk header on the way.
// Returns false with the error set when a chunk does not fit or is critical.
template <typename Visit>
bool walk_chunks(PngImage* image, Visit visit)
{
    const uint64_t end = image->sourceSize;
    if (FIRST_CHUNK_OFFSET >= end)
        return true;
    if (end < FIRST_CHUNK_OFFSET + CHUNK_OVERHEAD) {
        png_fail(image, PngError::Malformed, CHUNK_HEADER_PAST_END);
        return false;
    }
    uint64_t offset = FIRST_CHUNK_OFFSET;
    for (;;) {
        const uint8_t* chunk = image->source + offset;
        const uint32_t length = read_be32(chunk);
        if ((length & 0x80000000u) != 0) {
            png_fail(image, PngError::Malformed, CHUNK_LENGTH_TOO_LARGE);
            return false;
        }
        if (offset + CHUNK_OVERHEAD + length > end) {
            png_fail(image, PngError::Malformed, CHUNK_PAST_END);
            return false;
        }
        const uint32_t type = read_be32(chunk + 4);
        if (type == TYPE_IEND)
            return true;
        if (type == TYPE_IDAT) {
            visit(offset + 8, length);
        } else if ((chunk[4] & 0x20) == 0) {
            png_fail(image, PngError::Unsupported, CRITICAL_CHUNK);
            return false;
        }
        offset += CHUNK_OVERHEAD + length;
        if (offset >= end)
            return true;
        if (offset + CHUNK_OVERHEAD > end) {
            png_fail(image, PngError::Malformed, CHUNK_HEADER_PAST_END);
            return false;
        }
    }
}

// The IDAT data of the source, one chunk's data behind the other. False with
// the error set on failure.
bool gather_data(PngImage* image, Gathered& data)
{
    uint64_t total = 0;
    if (!walk_chunks(image, [&](uint64_t, uint32_t length) { total += length; }))
        return false;
    data.bytes = allocate(total, false);
    if (data.bytes == nullptr) {
        png_fail(image, PngError::OutOfMemory, NO_MEMORY_FOR_DATA);
        return false;
    }
    // The walk found every chunk sound, so the IDAT lengths add up to less
    // than the source size.
    data.size = static_cast<uint32_t>(total);
    uint32_t filled = 0;
    walk_chunks(image, [&](uint64_t offset, uint32_t length) {
        std::memcpy(data.bytes + filled, image->source + offset, length);
        filled += length;
    });
    return true;
}

}  // namespace

PngError png_decode(PngImage* image)
{
    if (image->error != PngError::None)
        return image->error;
    if (image->state == PngState::New) {
        read_header(image);
        if (image->error != PngError::None)
            return image->error;
    }
    if (image->state != PngState::HeaderRead)
        return PngError::None;

    std::free(image->buffer);
    image->buffer = nullptr;
    image->bufferSize = 0;

    Gathered data{};
    if (!gather_data(image, data))
        return image->error;

    // Both sizes stay within 32 bits: the pixel buffer is never larger than
    // the scanlines, which carry a filter byte per row besides the pixels.
    const uint32_t bitsPerPixel = png_get_bpp(image);
    const uint64_t rowSize = (uint64_t{image->width} * bitsPerPixel + 7) / 8;
    const uint64_t scanlineSize = uint64_t{image->height} * (rowSize + 1);
    if (rowSize + 1 > UINT32_MAX || scanlineSize > UINT32_MAX) {
        std::free(data.bytes);
        return png_fail(image, PngError::Malformed, SCANLINES_TOO_LARGE);
    }
    uint8_t* scanlines = allocate(scanlineSize, false);
    if (scanlines == nullptr) {
        std::free(data.bytes);
        return png_fail(image, PngError::OutOfMemory, NO_MEMORY_FOR_SCANLINES);
    }
    const bool inflated =
        inflate(image, scanlines, static_cast<uint32_t>(scanlineSize), data.bytes, data.size) == PngError::None;
    std::free(data.bytes);
    if (!inflated) {
        std::free(scanlines);
        return image->error;
    }

    const uint64_t pixelSize = (uint64_t{image->width} * image->height * bitsPerPixel + 7) / 8;
    // Sub-byte rows are packed into the buffer by OR-ing bits into zeros.
    image->buffer = allocate(pixelSize, bitsPerPixel < 8);
    if (image->buffer == nullptr) {
        std::free(scanlines);
        return png_fail(image, PngError::OutOfMemory, NO_MEMORY_FOR_PIXELS);
    }
    image->bufferSize = static_cast<uint32_t>(pixelSize);
    reconstruct_pixels(image, image->buffer, scanlines, image->width, image->height, bitsPerPixel);
    std::free(scanlines);
    if (image->error != PngError::None) {
        std::free(image->buffer);
        image->buffer = nullptr;
        image->bufferSize = 0;
    } else {
        image->state = PngState::Decoded;
    }
    png_release_source(image);
    return image->error;
}
