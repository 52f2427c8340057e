#include "tools/png_writer/png_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

namespace pngwrite {

namespace {

void put_be32(Bytes& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

uint32_t channels(uint8_t colourType)
{
    switch (colourType) {
    case 0: return 1;
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: throw std::invalid_argument("colour type without channels");
    }
}

}  // namespace

Bytes zlib_compress(const Bytes& raw, int level, int strategy)
{
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, 15, 8, strategy) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    Bytes out(deflateBound(&stream, static_cast<uLong>(raw.size())));
    stream.next_in = const_cast<Bytef*>(raw.data());
    stream.avail_in = static_cast<uInt>(raw.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate did not finish");
    out.resize(stream.total_out);
    return out;
}

Bytes chunk(const std::string& type, const Bytes& data)
{
    Bytes out;
    out.reserve(12 + data.size());
    put_be32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    if (!data.empty()) {
        // zlib gives its start value, 0, for a null buffer: an empty vector's data() must not reach it.
        crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    }
    put_be32(out, static_cast<uint32_t>(crc));
    return out;
}

Bytes ihdr_data(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType, uint8_t interlace)
{
    Bytes out;
    put_be32(out, width);
    put_be32(out, height);
    out.insert(out.end(), {bitDepth, colourType, 0, 0, interlace});
    return out;
}

Bytes png_file(const std::vector<Bytes>& chunks)
{
    Bytes out = {137, 80, 78, 71, 13, 10, 26, 10};
    for (const Bytes& c : chunks)
        out.insert(out.end(), c.begin(), c.end());
    return out;
}

Bytes filter_rows(const Bytes& pixels, uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                  const std::vector<int>& filterPerRow)
{
    const size_t rowSize = (size_t{width} * bitsPerPixel + 7) / 8;
    const size_t step = bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
    Bytes out;
    Bytes candidate(rowSize);
    Bytes best;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels.data() + y * rowSize;
        const uint8_t* above = y > 0 ? row - rowSize : nullptr;
        const int wanted = filterPerRow[y];
        long bestCost = -1;
        int bestType = 0;
        for (int type = 0; type <= 4; ++type) {
            if (wanted >= 0 && type != wanted)
                continue;
            long cost = 0;
            for (size_t i = 0; i < rowSize; ++i) {
                const int a = i >= step ? row[i - step] : 0;
                const int b = above != nullptr ? above[i] : 0;
                const int c = above != nullptr && i >= step ? above[i - step] : 0;
                const int predictions[5] = {0, a, b, (a + b) / 2, paeth(a, b, c)};
                candidate[i] = static_cast<uint8_t>(row[i] - predictions[type]);
                cost += std::abs(static_cast<int8_t>(candidate[i]));
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                bestType = type;
                best = candidate;
            }
        }
        out.push_back(static_cast<uint8_t>(bestType));
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

Bytes encode_png(const Bytes& pixels, uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                 int filter, int level)
{
    const uint32_t bitsPerPixel = bitDepth * channels(colourType);
    const Bytes scanlines = filter_rows(pixels, width, height, bitsPerPixel, std::vector<int>(height, filter));
    return png_file({
        chunk("IHDR", ihdr_data(width, height, bitDepth, colourType)),
        chunk("IDAT", zlib_compress(scanlines, level, Z_DEFAULT_STRATEGY)),
        chunk("IEND", {}),
    });
}

}  // namespace pngwrite
