#include "text/scroll_motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Text {
    const char* name;
    ScrollTextStart start;
    const ScrollTextMotion* motion;
    GlyphRow row;
    std::size_t glyphCount;
    int firstWrapFrame;
    int groupStartSpacing;  // frames between two groups starting to bob
};

const Text GREETINGS{"greetings", GREETINGS_START, &GREETINGS_MOTION, GREETINGS_ROW, GREETINGS_GLYPH_COUNT, 5812, 12};
const Text DANCING{"dancing", DANCING_START, &DANCING_MOTION, DANCING_ROW, DANCING_GLYPH_COUNT, 8914, 20};

void PrintTo(const Text& text, std::ostream* out) {
    *out << text.name;
}

// The state before each frame's step, frames 0 .. count - 1, plus the state after the last.
std::vector<ScrollTextState> run(const Text& text, int count) {
    std::vector<ScrollTextState> states{makeScrollTextState(text.start)};
    states.reserve(static_cast<std::size_t>(count) + 1);
    for (int frame = 0; frame < count; ++frame) {
        ScrollTextState next = states.back();
        stepScrollText(next, *text.motion);
        states.push_back(next);
    }
    return states;
}

class ScrollMotion : public testing::TestWithParam<Text> {};

TEST_P(ScrollMotion, WaitsThenScrollsLeftFromFrame591) {
    const Text& text = GetParam();
    const auto states = run(text, 700);
    EXPECT_GT(states[0].startDelay, 0.0f);
    for (int frame = 0; frame < 591; ++frame) {
        EXPECT_EQ(states[frame + 1].scrollX, 0.0f) << frame;
    }
    EXPECT_LT(states[592].scrollX, 0.0f);
    EXPECT_EQ(states[592].startDelay, 0.0f);
    // Frame 0 shows no glyph inside the window: the line starts right of it.
    EXPECT_GT(glyphX(text.row, 0) - text.row.halfSize + states[0].swayX, 1.0f);
}

TEST_P(ScrollMotion, WrapFrameJumpsRightWithoutALeftwardStep) {
    const Text& text = GetParam();
    const int wrap = text.firstWrapFrame;
    const auto states = run(text, wrap + 3);
    const float w = static_cast<float>(text.motion->wrapDistance);
    for (int frame = 592; frame < wrap; ++frame) {
        ASSERT_LT(states[frame + 1].scrollX, states[frame].scrollX) << frame;
    }
    const ScrollTextState& before = states[wrap];
    const ScrollTextState& after = states[wrap + 1];
    EXPECT_LT(before.scrollCountdown, 0.0f);
    EXPECT_NEAR(after.scrollX - before.scrollX, w, 1e-4);
    EXPECT_NEAR(after.scrollCountdown - before.scrollCountdown, w, 1e-4);
    EXPECT_LT(states[wrap + 2].scrollX, after.scrollX);
    // The last glyph has fully left the window before the line starts over.
    const float lastX = glyphX(text.row, text.glyphCount - 1) + before.scrollX + before.swayX;
    EXPECT_LT(lastX, -1.0f - text.row.halfSize);
    EXPECT_NEAR(glyphX(text.row, 0) + after.scrollX, glyphX(text.row, 0), 0.02);
    // The two run in step, apart from the rounding each keeps on its own.
    for (const ScrollTextState& state : states) {
        ASSERT_NEAR(state.scrollX, state.scrollCountdown - w, 0.02);
    }
}

TEST_P(ScrollMotion, GroupsStartBobbingOneAfterAnotherAndNeverStop) {
    const Text& text = GetParam();
    const auto states = run(text, 2000);
    for (int g = 1; g <= SCROLL_TEXT_GROUPS; ++g) {
        const WaveGroupMembers& group = waveGroups[static_cast<std::size_t>(g - 1)];
        const int startFrame = 100 + text.groupStartSpacing * (g - 1);
        EXPECT_EQ(states[startFrame].*group.phase, 0) << g;
        EXPECT_EQ(states[startFrame].*group.offset, 0.0f) << g;
        EXPECT_EQ(states[startFrame + 1].*group.phase, 1) << g;
        // Its first move comes in the frame its countdown runs out.
        EXPECT_LT(states[startFrame + 1].*group.offset, 0.0f) << g;
        const float stoppedTimer = states[startFrame + 1].*group.timer;
        EXPECT_LE(stoppedTimer, 0.0f);
        EXPECT_GT(stoppedTimer, -0.01f);
        for (std::size_t frame = static_cast<std::size_t>(startFrame) + 1; frame < states.size(); ++frame) {
            ASSERT_GE(states[frame].*group.phase, 1) << g << " frame " << frame;
            ASSERT_LE(states[frame].*group.phase, 4);
            ASSERT_EQ(states[frame].*group.timer, stoppedTimer);
        }
    }
}

TEST_P(ScrollMotion, WaveStaysWithinItsBand) {
    const Text& text = GetParam();
    const auto states = run(text, 3000);
    float lowest = 0.0f;
    for (const ScrollTextState& state : states) {
        for (const WaveGroupMembers& group : waveGroups) {
            lowest = std::min(lowest, state.*group.offset);
            ASSERT_LE(state.*group.offset, 0.01f);
        }
        ASSERT_GE(state.rockAngle, -17.0f);
        ASSERT_LE(state.rockAngle, 17.0f);
        ASSERT_EQ(state.textY, text.start.textY);
        ASSERT_LE(state.swayX, 0.01f);
        ASSERT_GE(state.swayX, text.motion->sway.t0 - 0.02f);
    }
    EXPECT_NEAR(lowest, text.motion->wave.t0, 0.01);
}

TEST_P(ScrollMotion, RockTurnsAtExactlySeventeenDegrees) {
    const auto states = run(GetParam(), 500);
    int lowTurns = 0;
    int highTurns = 0;
    for (std::size_t frame = 0; frame + 1 < states.size(); ++frame) {
        const ScrollTextState& before = states[frame];
        const ScrollTextState& after = states[frame + 1];
        if (before.rockPhase == 1 && after.rockPhase == 2) {
            // Set to -17.0 and moved by the first rising step in the same frame.
            ++lowTurns;
            EXPECT_EQ(after.rockSpeed, 0.01f);
            EXPECT_EQ(after.rockAngle, -17.0f + 0.01f);
            EXPECT_FLOAT_EQ(after.rockAngle, -16.99f);
        }
        if (before.rockPhase == 3 && after.rockPhase == 0) {
            // Set to exactly 17.0 and held there for that frame.
            ++highTurns;
            EXPECT_EQ(after.rockAngle, 17.0f);
            EXPECT_EQ(after.rockSpeed, 0.0f);
            EXPECT_LT(states[frame + 2].rockAngle, 17.0f);
        }
    }
    EXPECT_EQ(lowTurns, 2);
    EXPECT_EQ(highTurns, 2);
}

INSTANTIATE_TEST_SUITE_P(BothTexts, ScrollMotion, testing::Values(GREETINGS, DANCING),
                         [](const testing::TestParamInfo<Text>& param) { return std::string(param.param.name); });

}  // namespace
