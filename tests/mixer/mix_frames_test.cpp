// The wide inner loop against the portable one: the same sums, positions and
// gains for any run, forward or backward, ramping or not.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "music/cpu.h"
#include "music/mix_frames.h"

namespace {

using music::FrameRun;

struct Trial {
    FrameRun run;
    std::int64_t frames;
};

// A run whose every frame reads inside `data` (the last read is at + 1).
Trial randomTrial(std::mt19937_64& random, const std::vector<std::int16_t>& data) {
    const auto lastIndex = static_cast<std::uint64_t>(data.size() - 2);
    auto below = [&](std::uint64_t limit) { return limit == 0 ? 0 : random() % limit; };

    Trial trial{};
    trial.frames = static_cast<std::int64_t>(below(300));
    // Mostly musical steps, some tiny, some near the mixer's ceiling of 32.
    const std::uint64_t kind = below(4);
    std::uint64_t step = kind == 0 ? below(1u << 20) : kind == 1 ? below(32ull << 32) : below(3ull << 32);
    const std::uint64_t travel = step * static_cast<std::uint64_t>(trial.frames > 0 ? trial.frames - 1 : 0);
    if ((travel >> 32) + 1 > lastIndex) {
        step = 1ull << 32;
        trial.frames = 100;
    }
    const std::uint64_t span = step * static_cast<std::uint64_t>(trial.frames > 0 ? trial.frames - 1 : 0);
    const bool backward = below(2) == 1;
    const std::uint64_t room = (lastIndex << 32) - span;
    const std::uint64_t start = below(room) + (backward ? span : 0);
    trial.run.data = data.data();
    trial.run.position = start;
    trial.run.advance = backward ? ~step + 1 : step;

    // Levels as the mixer holds them, a few beyond, and ramps either way.
    auto level = [&] { return static_cast<std::int32_t>(below(20000)) - 300; };
    trial.run.left = below(10) == 0 ? static_cast<std::int32_t>(random() % (1u << 25)) - (1 << 24) : level();
    trial.run.right = level();
    if (below(2) == 1) {
        trial.run.leftStep = static_cast<std::int32_t>(below(400)) - 200;
        trial.run.rightStep = static_cast<std::int32_t>(below(400)) - 200;
    }
    return trial;
}

TEST(MixFrames, WideLoopAddsExactlyWhatThePortableLoopAdds) {
    if (!music::avx2_paths_usable()) GTEST_SKIP() << "this processor has no AVX2";
    std::mt19937_64 random(20261210);
    std::vector<std::int16_t> data(5000);
    for (std::int16_t& value : data) value = static_cast<std::int16_t>(random());
    // Full-scale swings between neighbours stretch the interpolation most.
    for (std::size_t i = 0; i < 200; ++i) data[i] = i % 2 == 0 ? INT16_MIN : INT16_MAX;

    for (int round = 0; round < 20000; ++round) {
        const Trial trial = randomTrial(random, data);
        std::vector<std::int32_t> expected(2 * static_cast<std::size_t>(trial.frames) + 2);
        for (std::int32_t& value : expected) value = static_cast<std::int32_t>(random() >> 36);
        std::vector<std::int32_t> actual = expected;

        FrameRun portable = trial.run;
        music::mix_frames_portable(portable, expected.data(), trial.frames);
        FrameRun wide = trial.run;
        const std::int64_t done = music::mix_frames_wide(wide, actual.data(), trial.frames);
        ASSERT_EQ(done, trial.frames / 8 * 8);
        music::mix_frames_portable(wide, actual.data() + 2 * done, trial.frames - done);

        ASSERT_EQ(actual, expected) << "round " << round;
        ASSERT_EQ(wide.position, portable.position) << "round " << round;
        ASSERT_EQ(wide.left, portable.left) << "round " << round;
        ASSERT_EQ(wide.right, portable.right) << "round " << round;
    }
}

}  // namespace
