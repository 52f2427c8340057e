#include "music/master_volume.h"

namespace music {
namespace {

// round(32768 * 10^(-(25 - i) / 10)) for i = 1..25; entry 0 is 1.
constexpr std::uint16_t GAINS[MAX_VOLUME_LEVEL + 1] = {
    1,    130,  164,  207,  260,  328,   413,   519,   654,   823,   1036,  1305,  1642,
    2068, 2603, 3277, 4125, 5193, 6538, 8231, 10362, 13045, 16423, 20675, 26029, 32768};

}  // namespace

std::uint32_t master_volume_gain(std::uint32_t level) {
    return GAINS[level > MAX_VOLUME_LEVEL ? MAX_VOLUME_LEVEL : level];
}

}  // namespace music
