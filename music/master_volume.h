// The master volume levels 0..25 in 2 dB steps, as output gains.
#pragma once

#include <cstdint>

namespace music {

inline constexpr std::uint32_t MAX_VOLUME_LEVEL = 25;

// Gain for a level, 32768 = unity; levels above 25 act as 25, level 0 is
// silent (gain 1 vanishes in the shift by 15).
std::uint32_t master_volume_gain(std::uint32_t level);

}  // namespace music
