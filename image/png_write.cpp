#include "image/png_write.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace png_write {

namespace {

constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void put_chunk(std::vector<std::uint8_t>& out, const char type[4], std::span<const std::uint8_t> data) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    put_u32(out, static_cast<std::uint32_t>(crc));
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Filters one row with each of the five filter types and keeps the one whose bytes, read as
// signed values, have the smallest absolute sum: the usual cheap guess at what deflates best.
void filter_row(std::vector<std::uint8_t>& out, const std::uint8_t* row, const std::uint8_t* above,
                std::size_t rowBytes) {
    constexpr std::size_t bpp = 4;
    std::vector<std::uint8_t> best, trial(rowBytes);
    long bestCost = -1;
    for (std::uint8_t type = 0; type < 5; ++type) {
        long cost = 0;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0;
            const int b = above ? above[i] : 0;
            const int c = (above && i >= bpp) ? above[i - bpp] : 0;
            int predictor = 0;
            switch (type) {
                case 1: predictor = a; break;
                case 2: predictor = b; break;
                case 3: predictor = (a + b) / 2; break;
                case 4: predictor = paeth(a, b, c); break;
                default: break;
            }
            trial[i] = static_cast<std::uint8_t>(row[i] - predictor);
            cost += std::abs(static_cast<std::int8_t>(trial[i]));
        }
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            best.assign(1, type);
            best.insert(best.end(), trial.begin(), trial.end());
        }
    }
    out.insert(out.end(), best.begin(), best.end());
}

}  // namespace

std::vector<std::uint8_t> encode_rgba(std::span<const std::uint8_t> rgba, std::uint32_t width,
                                      std::uint32_t height) {
    const std::size_t rowBytes = std::size_t{width} * 4;
    if (rgba.size() != rowBytes * height) throw std::invalid_argument("pixel count does not match the size");

    std::vector<std::uint8_t> filtered;
    filtered.reserve((rowBytes + 1) * height);
    for (std::uint32_t y = 0; y < height; ++y)
        filter_row(filtered, rgba.data() + y * rowBytes, y ? rgba.data() + (y - 1) * rowBytes : nullptr, rowBytes);

    uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("deflate failed");
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    put_u32(header, width);
    put_u32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace

    std::vector<std::uint8_t> file(std::begin(signature), std::end(signature));
    put_chunk(file, "IHDR", header);
    put_chunk(file, "IDAT", packed);
    put_chunk(file, "IEND", {});
    return file;
}

bool write_rgba_file(const std::string& path, std::span<const std::uint8_t> rgba, std::uint32_t width,
                     std::uint32_t height) {
    const std::vector<std::uint8_t> file = encode_rgba(rgba, width, height);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && written;
}

}  // namespace png_write
