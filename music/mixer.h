// Resampling voices into the 32-bit stereo mix block.
#pragma once

#include <cstdint>

#include "music/song.h"

namespace music {

// Adds `frames` frames (>= 1) of every sounding voice into `buffer`
// (interleaved left, right), advancing the voices' positions, levels and ramps.
void mix_voices(Voice* voices, std::uint32_t voiceCount, std::int32_t* buffer, std::uint32_t frames);

}  // namespace music
