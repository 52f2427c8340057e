// The memory and file song sources, the seek they share, and the lookup of
// a song among this program's resources.
#include <algorithm>
#include <cstring>

#include "music/module_player.h"

namespace music {
namespace {

bool memory_open(ModulePlayer&) {
    return true;  // base and size were set by the caller
}

void memory_read(ModulePlayer& player, void* destination, std::uint32_t bytes) {
    std::int64_t position = player.readPosition;
    std::int64_t available = std::int64_t{player.sourceSize} - position;
    if (position >= 0 && available > 0 && player.sourceBase) {
        std::size_t count = static_cast<std::size_t>(std::min<std::int64_t>(available, bytes));
        std::memcpy(destination, player.sourceBase + position, count);
    }
    player.readPosition = static_cast<std::int32_t>(std::min<std::int64_t>(position + bytes, INT32_MAX));
}

void close_nothing(ModulePlayer&) {}

unsigned char* file_cache(ModulePlayer& player) {
    return reinterpret_cast<unsigned char*>(player.mixBuffer);
}

bool file_open(ModulePlayer& player) {
    player.file = player.sourcePath ? platform::fileOpen(player.sourcePath) : nullptr;
    player.sourceSize = -1;
    player.cacheBase = -1;
    player.cacheFill = 0;
    return player.file != nullptr;
}

// Reads through a cache of the 8 KB-aligned block around the position; reads
// of whole blocks go straight to the destination. Bytes past the end of the
// file are not delivered.
void file_read(ModulePlayer& player, void* destination, std::uint32_t bytes) {
    auto* out = static_cast<unsigned char*>(destination);
    std::int64_t position = player.readPosition;
    std::int64_t wanted = bytes;
    const std::int64_t block = SOURCE_CACHE_BYTES;
    while (wanted > 0 && player.file && position >= 0 && position < INT32_MAX) {
        std::int64_t inCache = position - player.cacheBase;
        if (player.cacheBase >= 0 && inCache >= 0 && inCache < block) {
            std::int64_t count = std::min(wanted, block - inCache);
            std::int64_t valid = std::clamp<std::int64_t>(std::int64_t{player.cacheFill} - inCache, 0, count);
            std::memcpy(out, file_cache(player) + inCache, static_cast<std::size_t>(valid));
            out += count;
            position += count;
            wanted -= count;
            continue;
        }
        std::int64_t direct = (position + wanted) / block * block - position;
        if (direct > 0) {
            platform::fileSeek(player.file, static_cast<std::uint32_t>(position));
            platform::fileRead(player.file, out, static_cast<std::uint32_t>(direct));
            out += direct;
            position += direct;
            wanted -= direct;
        }
        player.cacheBase = static_cast<std::int32_t>(position / block * block);
        platform::fileSeek(player.file, static_cast<std::uint32_t>(player.cacheBase));
        player.cacheFill = platform::fileRead(player.file, file_cache(player), SOURCE_CACHE_BYTES);
    }
    player.readPosition = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{player.readPosition} + bytes, INT32_MAX));
}

void file_close(ModulePlayer& player) {
    if (player.file) platform::fileClose(player.file);
    player.file = nullptr;
}

}  // namespace

const SongSource MEMORY_SOURCE{memory_open, memory_read, close_nothing};
const SongSource FILE_SOURCE{file_open, file_read, file_close};

void source_seek(ModulePlayer& player, std::int64_t offset, bool relative) {
    std::int64_t target = relative ? player.readPosition + offset : offset;
    // The file source's size is -1: taken as unsigned, it admits every target.
    std::uint64_t size = static_cast<std::uint32_t>(player.sourceSize);
    if (target < 0 || static_cast<std::uint64_t>(target) > size || target > INT32_MAX) return;
    player.readPosition = static_cast<std::int32_t>(target);
}

bool use_resource(ModulePlayer& player, int id) {
    const platform::Resource resource = platform::findResource(id);
    player.source = MEMORY_SOURCE;
    player.sourceBase = static_cast<const std::uint8_t*>(resource.data);
    player.sourceSize = static_cast<std::int32_t>(resource.size);
    return resource.data != nullptr;
}

}  // namespace music
