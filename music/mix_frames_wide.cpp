// Eight frames at a time with AVX2: interpolation and gain products run in
// 32-bit lanes and give exactly the portable loop's values.
#include "music/mix_frames.h"

#include "music/cpu.h"

#ifdef MUSIC_HAS_AVX2_PATHS
#include <immintrin.h>

#include <cstring>
#endif

namespace music {

#ifdef MUSIC_HAS_AVX2_PATHS

namespace {

// value x level with the portable rounding, in 32-bit lanes. The level is
// split into level / 64 and level % 64, so the product divided by 64 is
// value x (level / 64) + value x (level % 64) / 64, exact modulo 2^32 as the
// portable code's truncation is; the rounding bit is added where the signs
// of value and level differ (where either is 0 it changes nothing).
MUSIC_AVX2 inline __m256i scaledLanes(__m256i value, __m256i level) {
    const __m256i high = _mm256_srai_epi32(level, 6);
    const __m256i low = _mm256_and_si256(level, _mm256_set1_epi32(63));
    const __m256i quarter = _mm256_add_epi32(_mm256_mullo_epi32(value, high),
                                             _mm256_srai_epi32(_mm256_mullo_epi32(value, low), 6));
    const __m256i negative = _mm256_srai_epi32(_mm256_xor_si256(value, level), 31);
    return _mm256_srai_epi32(_mm256_sub_epi32(quarter, negative), 1);
}

MUSIC_AVX2 std::int64_t mixGroups(FrameRun& run, std::int32_t* out, std::int64_t groups) {
    const std::uint64_t p = run.position;
    const std::uint64_t a = run.advance;
    // The fractions are the low halves of the positions, so they advance
    // modulo 2^32. Lanes hold frames 0 1 4 5 | 2 3 6 7 of a group: the
    // unpacking below puts them back into frame order.
    const auto fractionStep = static_cast<std::uint32_t>(a);
    auto fractionOf = [&](std::uint32_t frame) {
        return static_cast<int>(static_cast<std::uint32_t>(p) + frame * fractionStep);
    };
    __m256i fractions = _mm256_setr_epi32(fractionOf(0), fractionOf(1), fractionOf(4), fractionOf(5), fractionOf(2),
                                          fractionOf(3), fractionOf(6), fractionOf(7));
    const __m256i groupFractionStep = _mm256_set1_epi32(static_cast<int>(8 * fractionStep));

    // Gains of frames 0-3 and 4-7 as left, right pairs; levels wrap as the
    // portable loop's 32-bit sums do.
    const auto l = static_cast<std::uint32_t>(run.left);
    const auto r = static_cast<std::uint32_t>(run.right);
    const auto ls = static_cast<std::uint32_t>(run.leftStep);
    const auto rs = static_cast<std::uint32_t>(run.rightStep);
    auto gain = [](std::uint32_t level) { return static_cast<int>(level); };
    const __m256i frameSteps = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const __m256i steps = _mm256_setr_epi32(gain(ls), gain(rs), gain(ls), gain(rs), gain(ls), gain(rs), gain(ls), gain(rs));
    __m256i gainsEarly = _mm256_add_epi32(_mm256_setr_epi32(gain(l), gain(r), gain(l), gain(r), gain(l), gain(r),
                                                            gain(l), gain(r)),
                                          _mm256_mullo_epi32(frameSteps, steps));
    __m256i gainsLate = _mm256_add_epi32(gainsEarly, _mm256_slli_epi32(steps, 2));
    const __m256i groupGainStep = _mm256_slli_epi32(steps, 3);

    std::uint64_t position = p;
    for (std::int64_t group = 0; group < groups; ++group) {
        // Each frame reads its sample and the next as one 32-bit pair.
        auto pair = [&](std::uint64_t frame) {
            std::int32_t both;
            std::memcpy(&both, run.data + ((position + frame * a) >> 32), sizeof both);
            return both;
        };
        const __m256i pairs = _mm256_setr_epi32(pair(0), pair(1), pair(4), pair(5), pair(2), pair(3), pair(6), pair(7));
        const __m256i here = _mm256_srai_epi32(_mm256_slli_epi32(pairs, 16), 16);
        const __m256i next = _mm256_srai_epi32(pairs, 16);
        const __m256i delta = _mm256_sub_epi32(next, here);
        const __m256i half = _mm256_srli_epi32(fractions, 1);
        const __m256i evenProducts = _mm256_mul_epi32(delta, half);
        const __m256i oddProducts = _mm256_mul_epi32(_mm256_srli_epi64(delta, 32), _mm256_srli_epi64(half, 32));
        // Each product shifted right by 25: the low 32 bits of a logical
        // shift are those of the arithmetic one.
        const __m256i slope =
            _mm256_blend_epi32(_mm256_srli_epi64(evenProducts, 25), _mm256_slli_epi64(oddProducts, 7), 0xAA);
        const __m256i value = _mm256_add_epi32(_mm256_slli_epi32(here, 6), slope);

        auto* early_out = reinterpret_cast<__m256i*>(out);
        auto* late_out = reinterpret_cast<__m256i*>(out + 8);
        _mm256_storeu_si256(early_out, _mm256_add_epi32(_mm256_loadu_si256(early_out),
                                                        scaledLanes(_mm256_unpacklo_epi32(value, value), gainsEarly)));
        _mm256_storeu_si256(late_out, _mm256_add_epi32(_mm256_loadu_si256(late_out),
                                                       scaledLanes(_mm256_unpackhi_epi32(value, value), gainsLate)));
        out += 16;
        position += 8 * a;
        fractions = _mm256_add_epi32(fractions, groupFractionStep);
        gainsEarly = _mm256_add_epi32(gainsEarly, groupGainStep);
        gainsLate = _mm256_add_epi32(gainsLate, groupGainStep);
    }
    const auto frames = static_cast<std::uint64_t>(8 * groups);
    run.position = position;
    run.left = static_cast<std::int32_t>(l + static_cast<std::uint32_t>(frames) * ls);
    run.right = static_cast<std::int32_t>(r + static_cast<std::uint32_t>(frames) * rs);
    return 8 * groups;
}

}  // namespace

std::int64_t mix_frames_wide(FrameRun& run, std::int32_t* out, std::int64_t frames) {
    const std::int64_t groups = frames / 8;
    return groups > 0 ? mixGroups(run, out, groups) : 0;
}

#else

std::int64_t mix_frames_wide(FrameRun&, std::int32_t*, std::int64_t) { return 0; }

#endif

}  // namespace music
