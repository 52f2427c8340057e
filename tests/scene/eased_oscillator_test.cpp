#include "scene/eased_oscillator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr EasedOscillator RISING{0.0f, 0.0375f, 0.075f, 0.1125f, 0.15f, 0.00005, OscillatorOrder::RisingFirst, 0};
constexpr EasedOscillator FALLING{-0.3f, -0.1f, 0.0f, 0.1f, 0.3f, 0.00015, OscillatorOrder::FallingFirst, 0};
constexpr EasedOscillator FALLING_FROM_1{-0.12f, -0.09f, -0.06f, -0.03f, 0.0f, 0.0001,
                                         OscillatorOrder::FallingFirst, 1};

TEST(EasedOscillator, NumberingMapsPhasesToMotions) {
    EXPECT_EQ(RISING.kind(0), OscillatorPhase::RiseAccelerate);
    EXPECT_EQ(RISING.kind(3), OscillatorPhase::FallBrake);
    EXPECT_EQ(FALLING.kind(0), OscillatorPhase::FallAccelerate);
    EXPECT_EQ(FALLING.kind(2), OscillatorPhase::RiseAccelerate);
    EXPECT_EQ(FALLING_FROM_1.kind(1), OscillatorPhase::FallAccelerate);
    EXPECT_EQ(FALLING_FROM_1.kind(4), OscillatorPhase::RiseBrake);
}

TEST(EasedOscillator, StartAtEitherEndWithNoSpeedStillMoves) {
    float v = 0.0f, s = 0.0f;
    int p = 0;
    RISING.step(v, s, p);
    EXPECT_FLOAT_EQ(s, 0.00005f);
    EXPECT_FLOAT_EQ(v, 0.00005f);
    EXPECT_EQ(p, 0);

    v = 0.3f, s = 0.0f, p = 0;
    FALLING.step(v, s, p);
    EXPECT_FLOAT_EQ(s, 0.00015f);
    EXPECT_FLOAT_EQ(v, 0.3f - 0.00015f);
    EXPECT_EQ(p, 0);
}

TEST(EasedOscillator, HandOverToNextPhaseActsInTheSameStep) {
    // Past t2 while accelerating: rise-brake takes over and moves at once.
    float v = 0.08f, s = 0.001f;
    int p = 0;
    RISING.step(v, s, p);
    EXPECT_EQ(p, 1);
    EXPECT_FLOAT_EQ(v, 0.081f);

    // Past t4 while braking: the speed drops to 0 and fall-accelerate moves
    // down by one unit in the same step.
    v = 0.1501f, s = 0.0003f, p = 1;
    RISING.step(v, s, p);
    EXPECT_EQ(p, 2);
    EXPECT_FLOAT_EQ(s, 0.00005f);
    EXPECT_FLOAT_EQ(v, 0.1501f - 0.00005f);
}

TEST(EasedOscillator, ReturnToFirstPhaseWaitsForTheNextStep) {
    float v = -0.0001f, s = 0.0004f;
    int p = 3;
    RISING.step(v, s, p);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(v, -0.0001f);  // no move in the hand-over step
    RISING.step(v, s, p);
    EXPECT_FLOAT_EQ(v, -0.0001f + 0.00005f);

    // Numbered from 1: phase 4 hands back to 1, never to the waiting phase 0.
    v = 0.0001f, s = 0.0002f, p = 4;
    FALLING_FROM_1.step(v, s, p);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(v, 0.0001f);
}

TEST(EasedOscillator, PhaseOutsideTheNumberingWaits) {
    float v = 0.0f, s = 0.0f;
    int p = 0;
    FALLING_FROM_1.step(v, s, p);
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(p, 0);
}

TEST(EasedOscillator, BrakingNeverDropsBelowOneUnit) {
    float v = 0.12f, s = 0.00005f;
    int p = 1;
    RISING.step(v, s, p);
    EXPECT_FLOAT_EQ(s, 0.00005f);
    EXPECT_FLOAT_EQ(v, 0.12005f);

    v = 0.01f, s = 0.00005f, p = 3;
    RISING.step(v, s, p);
    EXPECT_FLOAT_EQ(s, 0.00005f);
    EXPECT_FLOAT_EQ(v, 0.00995f);
}

TEST(EasedOscillator, CyclesThroughAllHandOversBetweenTheEnds) {
    float v = 0.0f, s = 0.0f;
    int p = 0;
    std::vector<OscillatorPhase> left;
    float low = v, high = v;
    for (int frame = 0; frame < 2000; ++frame) {
        RISING.step(v, s, p, [&](OscillatorPhase phase) { left.push_back(phase); });
        low = std::min(low, v);
        high = std::max(high, v);
    }
    ASSERT_GE(left.size(), 8u);
    const OscillatorPhase cycle[4] = {OscillatorPhase::RiseAccelerate, OscillatorPhase::RiseBrake,
                                      OscillatorPhase::FallAccelerate, OscillatorPhase::FallBrake};
    for (std::size_t i = 0; i < left.size(); ++i) {
        EXPECT_EQ(left[i], cycle[i % 4]) << "hand-over " << i;
    }
    EXPECT_NEAR(low, 0.0f, 0.001f);
    EXPECT_NEAR(high, 0.15f, 0.001f);
}

}  // namespace
