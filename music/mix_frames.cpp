#include "music/mix_frames.h"

#include "music/cpu.h"

namespace music {

namespace {

// One gain product scaled to the mix: value x level / 128, with the
// rounding the 16-bit conversion was tuned for.
inline std::int32_t scaled(std::int32_t value, std::int32_t level) {
    const std::int64_t product = static_cast<std::int64_t>(value) * level;
    const auto halfScaled =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 6) + (product < 0 ? 1u : 0u));
    return halfScaled >> 1;
}

// The mix block's sums wrap, as the wide loop's lanes do; only songs with
// envelope values far above 64 come near that.
inline void addInto(std::int32_t& sum, std::int32_t term) {
    sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) + static_cast<std::uint32_t>(term));
}

template <bool Ramping>
void mixPortable(FrameRun& run, std::int32_t* out, std::int64_t frames) {
    std::uint64_t position = run.position;
    std::int32_t l = run.left;
    std::int32_t r = run.right;
    for (std::int64_t frame = 0; frame < frames; ++frame) {
        const std::int16_t* at = run.data + (position >> 32);
        const auto fraction = static_cast<std::uint32_t>(position);
        const std::int32_t here = at[0];
        const std::int32_t next = at[1];
        const std::int32_t value =
            64 * here + static_cast<std::int32_t>((static_cast<std::int64_t>(next - here) * (fraction >> 1)) >> 25);
        addInto(out[2 * frame], scaled(value, l));
        addInto(out[2 * frame + 1], scaled(value, r));
        if constexpr (Ramping) {
            l += run.leftStep;
            r += run.rightStep;
        }
        position += run.advance;
    }
    run.position = position;
    run.left = l;
    run.right = r;
}

}  // namespace

void mix_frames_portable(FrameRun& run, std::int32_t* out, std::int64_t frames) {
    if (run.leftStep == 0 && run.rightStep == 0) {
        mixPortable<false>(run, out, frames);
    } else {
        mixPortable<true>(run, out, frames);
    }
}

void mix_frames(FrameRun& run, std::int32_t* out, std::int64_t frames) {
    const std::int64_t done = avx2_paths_usable() ? mix_frames_wide(run, out, frames) : 0;
    if (done < frames) mix_frames_portable(run, out + 2 * done, frames - done);
}

}  // namespace music
