#include "music/cpu.h"

namespace music {

bool avx2_paths_usable() {
#ifdef MUSIC_HAS_AVX2_PATHS
    static const bool usable = __builtin_cpu_supports("avx2");
    return usable;
#else
    return false;
#endif
}

}  // namespace music
