// The mixer's inner loop: one voice's frames added into the mix block, with
// a portable version and a wide one for processors that have AVX2. Both add
// exactly the same values.
#pragma once

#include <cstdint>

namespace music {

// A voice between two boundaries: where it reads, how far it moves per frame
// (32.32, negative moving backward) and its gains with their per-frame steps.
struct FrameRun {
    const std::int16_t* data;
    std::uint64_t position;
    std::uint64_t advance;
    std::int32_t left;
    std::int32_t right;
    std::int32_t leftStep;
    std::int32_t rightStep;
};

// Adds `frames` frames of the run into `out` (interleaved left, right) and
// moves the run's position and gains past them. The caller guarantees that
// every frame reads inside the sample.
void mix_frames(FrameRun& run, std::int32_t* out, std::int64_t frames);

// The portable loop, and the wide one, which mixes whole groups of eight
// frames and returns how many it mixed (it needs avx2_paths_usable(); where
// the paths are not built it mixes none).
void mix_frames_portable(FrameRun& run, std::int32_t* out, std::int64_t frames);
std::int64_t mix_frames_wide(FrameRun& run, std::int32_t* out, std::int64_t frames);

}  // namespace music
