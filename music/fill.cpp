// Fills one block of the output buffer: ticks of the sequencer, stretches of
// the mixer between them, then the conversion to 16-bit samples.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "music/cpu.h"
#include "music/mixer.h"
#include "music/module_player.h"

namespace music {
namespace {

constexpr std::uint32_t MIX_UNIT = 16320;  // the mixer's value of one 16-bit step
constexpr std::uint32_t FRAMES_PER_MS = platform::PCM_RATE / 1000;

}  // namespace

std::int16_t output_sample(std::int32_t mixValue, std::uint32_t masterVolume) {
    // 32-bit unsigned throughout (|INT32_MIN| + 8160 still fits), so that the
    // conversion loop vectorises.
    const std::uint32_t magnitude = mixValue < 0 ? 0u - static_cast<std::uint32_t>(mixValue) : static_cast<std::uint32_t>(mixValue);
    std::uint32_t m = (magnitude + MIX_UNIT / 2) / MIX_UNIT;  // rounding half up
    m = m > 32767 ? 32767 : m;
    const auto scaled = static_cast<std::int32_t>((m * masterVolume) >> 15);
    return static_cast<std::int16_t>(mixValue < 0 ? -scaled : scaled);
}

namespace {

// The conversion of a whole block, compiled for any processor and, where the
// AVX2 paths are built, once more for wider lanes.
inline void convertSamples(const std::int32_t* mix, std::int16_t* out, std::uint32_t volume) {
    for (std::uint32_t i = 0; i < MIX_SAMPLES; ++i) out[i] = output_sample(mix[i], volume);
}

#ifdef MUSIC_HAS_AVX2_PATHS
MUSIC_AVX2 void convertSamplesWide(const std::int32_t* mix, std::int16_t* out, std::uint32_t volume) {
    convertSamples(mix, out, volume);
}
#endif

}  // namespace

void convert_block(const std::int32_t* mix, std::int16_t* out, std::uint32_t volume) {
#ifdef MUSIC_HAS_AVX2_PATHS
    if (avx2_paths_usable()) {
        convertSamplesWide(mix, out, volume);
        return;
    }
#endif
    convertSamples(mix, out, volume);
}

bool fill_block(ModulePlayer& player) {
    std::memset(player.mixBuffer, 0, sizeof player.mixBuffer);
    const std::uint32_t block = player.fillBlock;
    if (!player.paused.load(std::memory_order_relaxed)) {
        std::uint32_t done = 0;
        while (done < BLOCK_FRAMES) {
            if (player.samplesLeftInTick <= 0) {
                sequencer_tick(player);
                if (player.songEnded) return false;
            }
            const std::uint32_t n =
                std::min(static_cast<std::uint32_t>(player.samplesLeftInTick), BLOCK_FRAMES - done);
            mix_voices(player.song.voices, 2 * static_cast<std::uint32_t>(player.song.channelCount),
                       player.mixBuffer + 2 * done, n);
            done += n;
            player.samplesLeftInTick -= static_cast<std::int32_t>(n);
            player.elapsedMs.fetch_add(n / FRAMES_PER_MS, std::memory_order_relaxed);
        }
        player.ring[block].position.store(static_cast<std::uint32_t>(player.row) |
                                              static_cast<std::uint32_t>(player.order) << 16,
                                          std::memory_order_relaxed);
    }
    const std::uint32_t volume = player.masterVolume.load(std::memory_order_relaxed);
    std::int16_t* out = player.output + block * BLOCK_FRAMES * 2;
    std::uint32_t left = 0, right = 0;
    convert_block(player.mixBuffer, out, volume);
    for (std::uint32_t i = 0; i < MIX_SAMPLES; i += 2) {
        left += static_cast<std::uint32_t>(std::abs(out[i]));
        right += static_cast<std::uint32_t>(std::abs(out[i + 1]));
    }
    player.fillBlock = (block + 1) % BLOCK_COUNT;
    player.ring[player.fillBlock].levels.store((left >> 10) << 16 | ((right >> 10) & 0xFFFF),
                                               std::memory_order_relaxed);
    return true;
}

}  // namespace music
