// Writes PNG files and zlib streams: the pictures of the tools (capture,
// make_art) and the files the decoder's tests and benchmarks are built from.
// Chunks are assembled by hand, the data is compressed with zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pngwrite {

using Bytes = std::vector<uint8_t>;

// zlib stream of `raw` at `level` (0-9) with a zlib strategy (Z_FIXED, ...).
Bytes zlib_compress(const Bytes& raw, int level, int strategy);

// One chunk: length, type, data and CRC.
Bytes chunk(const std::string& type, const Bytes& data);

// The 13 IHDR data bytes.
Bytes ihdr_data(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType, uint8_t interlace = 0);

// Signature followed by the chunks.
Bytes png_file(const std::vector<Bytes>& chunks);

// Filters each row of `pixels` (rows of ceil(width * bitsPerPixel / 8) bytes)
// with the filter type given for it (0-4), or, for -1, with the type whose
// output has the smallest sum of absolute signed bytes. Gives the scanlines
// as the decoder's inflate step sees them: a filter byte before every row.
Bytes filter_rows(const Bytes& pixels, uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                  const std::vector<int>& filterPerRow);

// A whole file: IHDR, the filtered pixels compressed at `level` in one IDAT
// chunk, IEND. Every row uses `filter` (-1: chosen per row as above).
Bytes encode_png(const Bytes& pixels, uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                 int filter = -1, int level = 6);

}  // namespace pngwrite
