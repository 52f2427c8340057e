// The mixer's cost per voice-frame: 32 voices on looped samples at assorted
// pitches, one block of 1024 frames per iteration, as the fill step calls it;
// and its inner loop alone, portable and wide.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "music/cpu.h"
#include "music/mix_frames.h"
#include "music/mixer.h"

namespace {

constexpr std::uint32_t FRAMES = 1024;

void mixerVoiceFrames(benchmark::State& state) {
    const auto voiceCount = static_cast<std::uint32_t>(state.range(0));
    const bool ramping = state.range(1) != 0;
    constexpr std::uint32_t length = 20000;
    std::vector<std::int16_t> data(length + 3);
    for (std::uint32_t i = 0; i < length; ++i) data[i] = static_cast<std::int16_t>((i * 2654435761u) >> 16);
    music::Sample sample{};
    sample.length = length;
    sample.loopStart = 1000;
    sample.loopLength = length - 1000;
    sample.loopType = music::LOOP_FORWARD;
    sample.data = data.data();
    data[length] = data[sample.loopStart];

    std::vector<music::Voice> voices(voiceCount);
    for (std::uint32_t i = 0; i < voiceCount; ++i) {
        music::Voice& voice = voices[i];
        voice.sample = &sample;
        voice.stepInteger = static_cast<std::int32_t>(i % 3);
        voice.stepFraction = 0x9E3779B9u * (i + 1);
        voice.leftTarget = 40 + i;
        voice.rightTarget = 80 - i;
    }
    std::vector<std::int32_t> buffer(2 * FRAMES);
    for (auto _ : state) {
        if (ramping) {
            // New gains every block, as a song with volume slides on every tick.
            for (music::Voice& voice : voices) voice.leftTarget = (voice.leftTarget + 13) % 128;
        }
        music::mix_voices(voices.data(), voiceCount, buffer.data(), FRAMES);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["ns_per_voice_frame"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * voiceCount * FRAMES,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The inner loop alone, portable (0) or wide (1): one voice over 1024 frames.
void innerLoopFrames(benchmark::State& state) {
    const bool wide = state.range(0) != 0;
    if (wide && !music::avx2_paths_usable()) {
        state.SkipWithError("this processor has no AVX2");
        return;
    }
    std::vector<std::int16_t> data(4096);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::int16_t>((i * 2654435761u) >> 16);
    std::vector<std::int32_t> buffer(2 * FRAMES);
    const std::uint64_t step = 0x15F5C28F6ull;  // 1.37 samples per frame
    for (auto _ : state) {
        music::FrameRun run{data.data(), 100ull << 32, step, 5000, 9000, 0, 0};
        const std::int64_t done = wide ? music::mix_frames_wide(run, buffer.data(), FRAMES) : 0;
        music::mix_frames_portable(run, buffer.data() + 2 * done, FRAMES - done);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["ns_per_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * FRAMES,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(mixerVoiceFrames)->Args({32, 0})->Args({32, 1})->Args({4, 0})->Unit(benchmark::kMicrosecond);
BENCHMARK(innerLoopFrames)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
