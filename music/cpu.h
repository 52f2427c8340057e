// Code paths for processors with AVX2. They are compiled only where the
// compiler can target them; GCC for Windows cannot align the stack for
// 32-byte vectors, so Windows builds keep to the portable code.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32)
#define MUSIC_HAS_AVX2_PATHS 1
#define MUSIC_AVX2 __attribute__((target("avx2")))
#endif

namespace music {

// Whether the AVX2 paths are built and this processor can run them.
bool avx2_paths_usable();

}  // namespace music
