// The player's outside: start a song from a resource, a memory block or a
// file, and steer and watch it while the player thread keeps the looping
// output buffer filled. One song at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "music/module_player.h"
#include "platform/platform.h"

namespace music {

// The song argument of player_play: a resource id, or the address of a
// memory block or of a path; the play flags say which.
struct SongRef {
    std::uintptr_t value;
    SongRef(int resourceId) : value(static_cast<std::uintptr_t>(resourceId)) {}
    SongRef(const void* address) : value(reinterpret_cast<std::uintptr_t>(address)) {}
};

// Stops any current song, then loads and starts this one. `parameter` is the
// byte count of a memory song (unused otherwise); `flags` are the PLAY_ bits.
// Returns the address of the player's device handle, or null when the song
// cannot be played (nothing to read, not a module, no sound device).
platform::PcmOutput* const* player_play(SongRef song, std::size_t parameter, std::uint32_t flags);

// Ends playback and frees the song. Does nothing when nothing plays.
// Returns 0.
int player_stop();

// Silence from the next block filled on, with the song standing still.
void player_pause();
void player_resume();

// Output volume level 0 (silent) .. 25 (unity) in 2 dB steps; above 25 acts as 25.
void player_set_volume(std::uint32_t level);

// Continues at row 0 of `order` (order 0 when beyond the song) from the next row.
void player_jump_to_order(std::uint16_t order);

// Mean absolute left sample << 16 | mean absolute right sample.
std::uint32_t player_get_levels();
// Order << 16 | row of the block playing now.
std::uint32_t player_get_position();
// Milliseconds of music mixed since the start.
std::uint32_t player_get_time();
// The song's name; empty when no song is loaded.
const char* player_get_song_name();

}  // namespace music
