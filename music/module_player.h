// The player's one state record: output, thread and heap handles, the song
// source, the song itself, the sequencer position and the query ring.
//
// The caller's thread writes the control fields (paused, masterVolume,
// jumpOrder, quit) and reads the query fields (ring,
// ringIndex, elapsedMs) while the player thread runs; those are atomics used
// with relaxed ordering, one word each, as nothing else is ordered by them.
#pragma once

#include <atomic>
#include <cstdint>

#include "music/song.h"
#include "platform/platform.h"

namespace music {

// Play flags.
inline constexpr std::uint32_t PLAY_FROM_MEMORY = 1u << 0;
inline constexpr std::uint32_t PLAY_FROM_FILE = 1u << 1;
inline constexpr std::uint32_t PLAY_NO_LOOP = 1u << 3;
inline constexpr std::uint32_t PLAY_SUSPENDED = 1u << 4;

inline constexpr std::uint32_t BLOCK_FRAMES = 1024;
inline constexpr std::uint32_t BLOCK_COUNT = 16;
inline constexpr std::uint32_t OUTPUT_SAMPLES = BLOCK_FRAMES * BLOCK_COUNT * 2;  // 65536 bytes
inline constexpr std::uint32_t MIX_SAMPLES = BLOCK_FRAMES * 2;
inline constexpr std::uint32_t SOURCE_CACHE_BYTES = MIX_SAMPLES * 4;  // the mix buffer doubles as file cache
inline constexpr std::uint32_t UNITY_VOLUME = 32768;

struct ModulePlayer;

// Where load_song reads the module from: open, read and close of one kind of
// source over the shared size/position/base fields of the player.
struct SongSource {
    bool (*open)(ModulePlayer& player);  // false when there is nothing to read
    // Copies up to `bytes` into `destination`; the read position always
    // advances by `bytes`. What lies beyond the data is left untouched.
    void (*read)(ModulePlayer& player, void* destination, std::uint32_t bytes);
    void (*close)(ModulePlayer& player);
};

extern const SongSource MEMORY_SOURCE;  // sourceBase/sourceSize set by the caller
extern const SongSource FILE_SOURCE;    // sourcePath set by the caller

// Sets the read position absolutely or relative to the current one; a target
// below 0 or beyond the source's size is ignored.
void source_seek(ModulePlayer& player, std::int64_t offset, bool relative);

struct RingEntry {
    std::atomic<std::uint32_t> levels;    // mean |left| << 16 | mean |right|
    std::atomic<std::uint32_t> position;  // order << 16 | row
};

// Called at the start of every row, before it is read; returning false ends
// the song there as PLAY_NO_LOOP does (the row is never mixed). `restarted`
// is true when the order list ended and the song went back to its restart
// position. Used by the offline renderer to find where the song repeats.
using RowWatch = bool (*)(void* context, const ModulePlayer& player, bool restarted);

struct ModulePlayer {
    // ---- output, thread, heap (the player's outside) --------------------
    platform::PcmOutput* device;
    platform::Thread* thread;
    platform::Heap* heap;
    std::uint32_t fillBlock;  // next block to fill, 0..15
    std::atomic<std::uint32_t> quit;
    std::int32_t mixBuffer[MIX_SAMPLES];
    std::uint8_t noLoop;
    std::atomic<std::uint8_t> paused;
    std::atomic<std::uint32_t> masterVolume;  // 1..32768, 32768 = unity; 0 = not yet set
    std::int16_t output[OUTPUT_SAMPLES];
    std::atomic<std::uint32_t> ringIndex;
    std::atomic<std::uint32_t> elapsedMs;
    RingEntry ring[BLOCK_COUNT];

    // ---- song source ----------------------------------------------------
    SongSource source;
    const std::uint8_t* sourceBase;  // memory and resource sources
    std::int32_t sourceSize;         // -1: unbounded (file)
    std::int32_t readPosition;
    const char* sourcePath;          // file source
    platform::File* file;
    std::int32_t cacheBase;          // file offset of the cached block, or -1
    std::uint32_t cacheFill;         // bytes of the cached block the file really held

    // ---- song and sequencer ---------------------------------------------
    Song song;
    std::int32_t samplesLeftInTick;
    std::int32_t tick;
    std::int32_t speed;       // ticks per row
    std::int32_t order;
    std::int32_t row;
    std::int32_t extraTicks;  // pattern delay
    std::int32_t nextOrder;   // -1: none
    std::int32_t nextRow;     // -1: none
    // An order asked for by player_jump_to_order, -1: none. One word of its
    // own, so that the request cannot interleave with the player thread's
    // writes of the next order and row; it wins over them at the next row.
    std::atomic<std::int32_t> jumpOrder;
    std::int32_t globalVolume;  // 0..64 by intent
    std::uint8_t globalVolumeSlideMemory;
    std::uint32_t samplesPerTick;
    std::uint8_t songEnded;  // set when the song stopped itself (PLAY_NO_LOOP or the row watch)
    bool restarted;          // the pending row is the restart after the end of the order list

    RowWatch rowWatch;
    void* rowWatchContext;
};

// Points the player's source at raw-data resource `id` of this program.
// False when there is no such resource; the source then reads as no data at
// all, which the loader refuses.
bool use_resource(ModulePlayer& player, int id);

// Reads the module through player.source into player.heap. False when the
// data is not a module this player can play (or memory ran out).
bool load_song(ModulePlayer& player);

// Samples per tick for a tempo in beats per minute.
void set_bpm(ModulePlayer& player, std::uint32_t bpm);

// Advances the song by one tick (reads a row at tick 0) and sets the samples
// left in the new tick. Sets songEnded when the song ends here.
void sequencer_tick(ModulePlayer& player);

// One 16-bit output sample from a mix value (16320 mix units per step,
// rounded half up, clipped) at a master volume (32768 = unity).
std::int16_t output_sample(std::int32_t mixValue, std::uint32_t masterVolume);

// output_sample for each of a block's MIX_SAMPLES mix values.
void convert_block(const std::int32_t* mix, std::int16_t* out, std::uint32_t masterVolume);

// Fills output block [fillBlock] and moves on to the next; false when the
// song ended inside (the block is then left as it was and the caller shuts
// the player down).
bool fill_block(ModulePlayer& player);

}  // namespace music
