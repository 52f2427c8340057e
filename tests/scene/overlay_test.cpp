#include "scene/overlay.h"

#include <gtest/gtest.h>

#include "scene/scene.h"

namespace {

TEST(Overlay, FlashFadesByStepsToALastValueJustBelowZeroThenHoldsZero) {
    Scene scene;
    EXPECT_EQ(scene.flashAlpha, 2.0f);
    stepOverlay(scene);
    EXPECT_EQ(scene.flashAlpha, static_cast<float>(2.0f - 0.003));
    int frames = 1;
    while (scene.flashAlpha > 0.0f) {
        const float before = scene.flashAlpha;
        stepOverlay(scene);
        EXPECT_EQ(scene.flashAlpha, static_cast<float>(before - 0.003));
        ++frames;
    }
    EXPECT_GT(scene.flashAlpha, -0.003f);
    EXPECT_NEAR(frames, 667, 1);
    stepOverlay(scene);
    EXPECT_EQ(scene.flashAlpha, 0.0f);
    for (int i = 0; i < 100; ++i) {
        stepOverlay(scene);
        ASSERT_EQ(scene.flashAlpha, 0.0f);
    }
}

TEST(Overlay, GradientHandsOverOnTheFirstFrameAndBottomStaysAtItsFloor) {
    Scene scene;
    stepOverlay(scene);
    // Phase 1 of the breathing acted in the same frame.
    EXPECT_EQ(scene.overlayPhase, 1);
    EXPECT_FLOAT_EQ(scene.overlaySpeed, 0.000005f);
    EXPECT_FLOAT_EQ(scene.gradientTopAlpha, 0.400005f);
    EXPECT_EQ(scene.gradientBottomAlpha, 0.1f);
}

TEST(Overlay, GradientTopBreathesBetween04And08AndNeverReturnsToPhase0) {
    Scene scene;
    float low = 1.0f, high = 0.0f;
    int cycleStart = -1, cycle = 0;
    for (int frame = 0; frame < 3000; ++frame) {
        const int before = scene.overlayPhase;
        stepOverlay(scene);
        ASSERT_NE(scene.overlayPhase, 0);
        ASSERT_EQ(scene.gradientBottomAlpha, 0.1f);
        low = std::min(low, scene.gradientTopAlpha);
        high = std::max(high, scene.gradientTopAlpha);
        if (before == 4 && scene.overlayPhase == 1) {
            if (cycleStart >= 0) {
                cycle = frame - cycleStart;
            }
            cycleStart = frame;
        }
    }
    EXPECT_NEAR(low, 0.4f, 0.002f);
    EXPECT_NEAR(high, 0.8f, 0.002f);
    EXPECT_NEAR(cycle, 1200, 60);
}

}  // namespace
