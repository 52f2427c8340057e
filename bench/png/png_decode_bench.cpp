// Full decode throughput (bytes of decoded pixels per second) on noisy
// pictures written at zlib level 6, a glyph-sized picture, and the time for
// the demo's whole RC/ set.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/png_image.h"
#include "tools/png_writer/png_writer.h"

namespace {

using pngwrite::Bytes;

// Smooth colour ramps under a few steps of noise, opaque: content that
// compresses, but not to nothing.
Bytes noisy_rgba(uint32_t size)
{
    Bytes pixels(size_t{size} * size * 4);
    uint32_t seed = 12345;
    auto noise = [&seed] {
        seed = seed * 1664525 + 1013904223;
        return static_cast<int>(seed >> 28) - 8;
    };
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            uint8_t* p = &pixels[(size_t{y} * size + x) * 4];
            const int ramp[3] = {static_cast<int>(x * 200 / size), static_cast<int>(y * 200 / size),
                                 static_cast<int>((x + y) * 100 / size)};
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>(std::clamp(ramp[c] + 20 + noise(), 0, 255));
            p[3] = 255;
        }
    }
    return pixels;
}

// A white ring with a soft edge on transparency, like a glyph picture.
Bytes glyph_rgba(uint32_t size)
{
    Bytes pixels(size_t{size} * size * 4);
    const double centre = (size - 1) / 2.0;
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const double r = std::hypot(x - centre, y - centre);
            const double alpha = std::clamp(1.0 - std::abs(r - size * 0.3) / 4.0, 0.0, 1.0);
            uint8_t* p = &pixels[(size_t{y} * size + x) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<uint8_t>(alpha * 255);
        }
    }
    return pixels;
}

void decode_once(const Bytes& file)
{
    PngImage* image = png_new_from_bytes(file.data(), static_cast<uint32_t>(file.size()));
    if (png_decode(image) != PngError::None)
        throw std::runtime_error("benchmark picture failed to decode");
    benchmark::DoNotOptimize(png_get_buffer(image));
    png_free(image);
}

void BM_DecodeNoisy(benchmark::State& state)
{
    const auto size = static_cast<uint32_t>(state.range(0));
    const Bytes file = pngwrite::encode_png(noisy_rgba(size), size, size, 8, 6);
    for (auto _ : state)
        decode_once(file);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size * size * 4);
    state.counters["ratio"] = static_cast<double>(size) * size * 4 / static_cast<double>(file.size());
}
BENCHMARK(BM_DecodeNoisy)->Arg(2048)->Arg(600)->Unit(benchmark::kMillisecond);

void BM_DecodeGlyph(benchmark::State& state)
{
    const Bytes file = pngwrite::encode_png(glyph_rgba(64), 64, 64, 8, 6);
    for (auto _ : state)
        decode_once(file);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 64 * 64 * 4);
}
BENCHMARK(BM_DecodeGlyph)->Unit(benchmark::kMicrosecond);

// Every picture the demo loads, decoded once per iteration.
void BM_DecodeRcSet(benchmark::State& state)
{
    const std::filesystem::path rc = std::filesystem::path(WHITEPINE_SOURCE_DIR) / "RC";
    std::vector<Bytes> files;
    if (std::filesystem::is_directory(rc)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(rc)) {
            if (entry.path().extension() != ".png")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    if (files.empty()) {
        state.SkipWithError("no RC/ pictures in the source tree");
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const Bytes& file : files)
            decode_once(file);
    }
    for (const Bytes& file : files) {
        PngImage* image = png_new_from_bytes(file.data(), static_cast<uint32_t>(file.size()));
        png_decode(image);
        bytes += png_get_size(image);
        png_free(image);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_DecodeRcSet)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
