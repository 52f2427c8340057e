// Loads the input as an XM song from memory and plays a few seconds of it.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "music/module_player.h"

namespace {

constexpr std::uint32_t BLOCKS = 2 * 48000 / 1024;  // about two seconds

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 0x7FFFFFFF) return 0;
    auto player = std::make_unique<music::ModulePlayer>();
    player->heap = platform::heapCreate();
    if (!player->heap) return 0;
    player->source = music::MEMORY_SOURCE;
    player->sourceBase = data;
    player->sourceSize = static_cast<std::int32_t>(size);
    player->masterVolume = music::UNITY_VOLUME;
    const bool loaded = music::load_song(*player);
    player->source.close(*player);
    if (loaded) {
        for (std::uint32_t block = 0; block < BLOCKS; ++block)
            if (!music::fill_block(*player)) break;
    }
    platform::heapDestroy(player->heap);
    return 0;
}
