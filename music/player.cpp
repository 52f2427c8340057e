// Starting and stopping songs, the player thread that keeps the looping
// output buffer filled behind the play cursor, and the control and query
// interface around them.
#include "music/player.h"

#include <climits>

#include "music/master_volume.h"

namespace music {

namespace {

constexpr std::uint32_t BLOCK_BYTES = BLOCK_FRAMES * 2 * sizeof(std::int16_t);
constexpr unsigned POLL_MS = 5;

ModulePlayer thePlayer{};

constexpr auto relaxed = std::memory_order_relaxed;

// Closes the device and drops the song's memory and the query ring.
void release(ModulePlayer& player) {
    player.fillBlock = 0;
    if (player.device != nullptr) {
        platform::PcmOutput* device = player.device;
        player.device = nullptr;
        platform::pcmClose(device);
    }
    if (player.heap != nullptr) {
        platform::Heap* heap = player.heap;
        player.heap = nullptr;
        platform::heapDestroy(heap);
        player.ringIndex.store(0, relaxed);
        player.elapsedMs.store(0, relaxed);
        for (RingEntry& entry : player.ring) {
            entry.levels.store(0, relaxed);
            entry.position.store(0, relaxed);
        }
    }
}

// The song has played to its end under PLAY_NO_LOOP: silence the device at
// once and free everything but the thread, which ends by itself and is
// joined by the next player_stop. The song name stays until then, as the
// caller may be reading it.
void end_of_song(ModulePlayer& player) {
    player.quit.store(1, relaxed);
    release(player);
}

void player_thread(void* context) {
    ModulePlayer& player = *static_cast<ModulePlayer*>(context);
    for (;;) {
        const std::uint32_t playing = platform::pcmPosition(player.device) / BLOCK_BYTES % BLOCK_COUNT;
        // Refill the blocks the device has played since, one per poll; the
        // position is read again once the fill has caught up.
        for (;;) {
            platform::sleepMs(POLL_MS);
            if (player.quit.load(relaxed) != 0) return;
            if (player.fillBlock == playing) break;
            if (player.paused.load(relaxed) == 0) {
                player.ringIndex.store((player.ringIndex.load(relaxed) + 1) % BLOCK_COUNT, relaxed);
            }
            if (!fill_block(player)) {
                end_of_song(player);
                return;
            }
        }
    }
}

// Points the song source at what `song` names; false when it names nothing.
bool choose_source(ModulePlayer& player, SongRef song, std::size_t parameter, std::uint32_t flags) {
    player.readPosition = 0;
    player.sourcePath = nullptr;
    if ((flags & PLAY_FROM_MEMORY) != 0) {
        if (parameter > INT32_MAX) return false;
        player.source = MEMORY_SOURCE;
        player.sourceBase = reinterpret_cast<const std::uint8_t*>(song.value);
        player.sourceSize = static_cast<std::int32_t>(parameter);
    } else if ((flags & PLAY_FROM_FILE) != 0) {
        player.source = FILE_SOURCE;
        player.sourcePath = reinterpret_cast<const char*>(song.value);
    } else {
        if (song.value > INT_MAX) return false;
        use_resource(player, static_cast<int>(song.value));
    }
    return true;
}

platform::PcmOutput* const* fail(ModulePlayer& player) {
    release(player);
    player.song.name[0] = '\0';
    return nullptr;
}

}  // namespace

platform::PcmOutput* const* player_play(SongRef song, std::size_t parameter, std::uint32_t flags) {
    ModulePlayer& player = thePlayer;
    player_stop();
    if (song.value == 0) return nullptr;
    if (!choose_source(player, song, parameter, flags)) return nullptr;
    player.noLoop = (flags & PLAY_NO_LOOP) != 0 ? 1 : 0;
    player.paused.store((flags & PLAY_SUSPENDED) != 0 ? 1 : 0, relaxed);
    if (player.masterVolume.load(relaxed) == 0) player.masterVolume.store(UNITY_VOLUME, relaxed);

    // A device that did not open makes the start fail below, after the load.
    player.device = platform::pcmOpen();
    player.heap = platform::heapCreate();
    if (player.heap == nullptr) return fail(player);
    const bool loaded = load_song(player);
    player.source.close(player);
    if (!loaded) return fail(player);

    // Fill the whole buffer before the device starts; a song that ends in
    // the meantime under PLAY_NO_LOOP closes the device and fails the start.
    do {
        if (!fill_block(player)) {
            end_of_song(player);
            break;
        }
    } while (player.fillBlock != 0);
    player.quit.store(0, relaxed);

    if (player.device == nullptr || !platform::pcmStart(player.device, player.output, sizeof player.output)) {
        return fail(player);
    }
    player.thread = platform::threadStart(player_thread, &player);
    if (player.thread == nullptr) return fail(player);
    return &player.device;
}

int player_stop() {
    ModulePlayer& player = thePlayer;
    // The thread is gone before the device and the song are touched, also
    // when it ended by itself at the end of a PLAY_NO_LOOP song.
    if (player.thread != nullptr) {
        player.quit.store(1, relaxed);
        platform::threadJoin(player.thread);
        player.thread = nullptr;
    }
    release(player);
    player.song.name[0] = '\0';
    return 0;
}

void player_pause() {
    thePlayer.paused.store(1, relaxed);
}

void player_resume() {
    thePlayer.paused.store(0, relaxed);
}

void player_set_volume(std::uint32_t level) {
    thePlayer.masterVolume.store(master_volume_gain(level), relaxed);
}

void player_jump_to_order(std::uint16_t order) {
    ModulePlayer& player = thePlayer;
    player.jumpOrder.store(order < player.song.length ? order : 0, relaxed);
}

std::uint32_t player_get_levels() {
    return thePlayer.ring[thePlayer.ringIndex.load(relaxed)].levels.load(relaxed);
}

std::uint32_t player_get_position() {
    return thePlayer.ring[thePlayer.ringIndex.load(relaxed)].position.load(relaxed);
}

std::uint32_t player_get_time() {
    return thePlayer.elapsedMs.load(relaxed);
}

const char* player_get_song_name() {
    return thePlayer.song.name;
}

}  // namespace music
