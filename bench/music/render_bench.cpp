// Render throughput of the whole engine (sequencer, voice updates, mixer,
// output conversion) on the demo's song and the shared real modules, in times
// realtime on one core.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "music/module_player.h"

namespace {

constexpr std::uint32_t BLOCKS = 60 * 48000 / 1024;  // one minute of music per iteration

std::vector<std::uint8_t> read_file(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (!file) return bytes;
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(file);
    return bytes;
}

void renderMinute(benchmark::State& state, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    auto player = std::make_unique<music::ModulePlayer>();
    std::uint64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        player->heap = platform::heapCreate();
        player->source = music::MEMORY_SOURCE;
        player->sourceBase = bytes.data();
        player->sourceSize = static_cast<std::int32_t>(bytes.size());
        player->readPosition = 0;
        player->fillBlock = 0;
        player->masterVolume = music::UNITY_VOLUME;
        const bool loaded = music::load_song(*player);
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("the module does not load");
            break;
        }
        for (std::uint32_t block = 0; block < BLOCKS && music::fill_block(*player); ++block)
            frames += music::BLOCK_FRAMES;
        benchmark::DoNotOptimize(player->output);
        state.PauseTiming();
        platform::heapDestroy(player->heap);
        state.ResumeTiming();
    }
    // Seconds of music per second of time: the rate counter divides by the CPU time.
    state.counters["times_realtime"] = benchmark::Counter(static_cast<double>(frames) / 48000.0, benchmark::Counter::kIsRate);
}

}  // namespace

int main(int argc, char** argv) {
    // The demo's own song, then the shared real modules where they are.
    std::vector<std::filesystem::path> songs = {WHITEPINE_SONG};
    const std::filesystem::path folder = std::filesystem::path(WHITEPINE_TESTDATA) / "xm" / "real";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".xm") songs.push_back(entry.path());
    }
    for (const std::filesystem::path& song : songs) {
        benchmark::RegisterBenchmark(("render/" + song.filename().string()).c_str(), renderMinute, song)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
