// The demo's PNG decoder: one image object and the free functions over it.
//
// It reads non-interlaced, non-palette PNG files whose pixels lie in IDAT
// chunks and yields the samples in the file's own layout (see PngFormat).
// CRCs and the zlib checksum are not checked. The first failure is recorded
// in the object, with a number naming the check, and returned by every later
// png_decode call.
#pragma once

#include <cstdint>

enum class PngError : uint32_t {
    None = 0,
    OutOfMemory = 1,
    NotFound = 2,           // the file could not be opened
    NotPng = 3,             // too short, or the signature does not match
    Malformed = 4,          // header, chunk, zlib, deflate or filter check failed
    Unsupported = 5,        // a critical chunk other than IDAT and IEND
    Interlaced = 6,
    UnsupportedFormat = 7,  // colour type and bit depth have no PngFormat
};

// Pixel layout of the decoded buffer: rows top to bottom, samples in file
// order, 16-bit samples big-endian, sub-byte pixels packed from the most
// significant bit with rows following each other bit for bit.
enum class PngFormat : uint32_t {
    BadFormat = 0,
    Rgb8 = 1,
    Rgb16 = 2,
    Rgba8 = 3,
    Rgba16 = 4,
    Gray1 = 5,
    Gray2 = 6,
    Gray4 = 7,
    Gray8 = 8,
    GrayAlpha1 = 9,
    GrayAlpha2 = 10,
    GrayAlpha4 = 11,
    GrayAlpha8 = 12,
};

enum class PngState : uint32_t {
    Decoded = 0,     // the buffer holds the pixels
    HeaderRead = 1,  // IHDR accepted: width to format are set
    New = 2,         // source attached, header not read yet
};

struct PngImage {
    uint32_t width;
    uint32_t height;
    uint32_t colourType;
    uint32_t bitDepth;
    PngFormat format;
    uint8_t* buffer;  // owned; null until a decode succeeds
    uint32_t bufferSize;
    PngError error;
    uint32_t errorDetail;
    PngState state;
    const uint8_t* source;
    uint32_t sourceSize;
    bool sourceOwned;  // the object read the file itself and frees the source
};

// Null only when the object itself cannot be allocated. A file that cannot be
// read gives an object whose error is already set.
PngImage* png_new_from_file(const char* path);
// The bytes stay the caller's and must outlive png_decode.
PngImage* png_new_from_bytes(const uint8_t* bytes, uint32_t size);
PngError png_decode(PngImage* image);
void png_free(PngImage* image);

uint32_t png_get_width(const PngImage* image);
uint32_t png_get_height(const PngImage* image);
const uint8_t* png_get_buffer(const PngImage* image);
uint32_t png_get_size(const PngImage* image);
PngError png_get_error(const PngImage* image);
uint32_t png_get_error_detail(const PngImage* image);
uint32_t png_get_bpp(const PngImage* image);
uint32_t png_get_channels(const PngImage* image);
uint32_t png_get_bit_depth(const PngImage* image);
PngFormat png_get_format(const PngImage* image);
