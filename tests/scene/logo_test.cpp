#include "scene/logo.h"

#include <gtest/gtest.h>

#include "scene/scene.h"
#include "scene/swing.h"

namespace {

TEST(Logo, MotionsStartingAtTheirRangeEndsMoveOnTheFirstFrame) {
    Logo logo = Scene().logo;
    stepLogo(logo);
    EXPECT_LT(logo.angle, 2.5f);
    EXPECT_LT(logo.halfWidth, 0.55f);   // t4 of a falling-first motion
    EXPECT_GT(logo.halfHeight, 0.15f);  // t0 of a rising-first one
    EXPECT_GT(logo.x, -0.3f);
    EXPECT_LT(logo.y, 0.3f);
}

TEST(Logo, TiltIsSetExactlyToItsTurnAnglesAndSwingsInAbout284Frames) {
    Logo logo = Scene().logo;
    int turns = 0;
    int lastTurnToPlus = -1;
    int period = 0;
    for (int frame = 0; frame < 1200; ++frame) {
        const int before = logo.anglePhase;
        stepLogo(logo);
        if (before == 1 && logo.anglePhase == 2) {
            // Set to -2.5 and moved by the first rising step of the same frame.
            EXPECT_FLOAT_EQ(logo.angle, -2.5f + 0.001f);
            ++turns;
        }
        if (before == 3 && logo.anglePhase == 0) {
            EXPECT_EQ(logo.angle, 2.5f);
            if (lastTurnToPlus >= 0) {
                period = frame - lastTurnToPlus;
            }
            lastTurnToPlus = frame;
            ++turns;
        }
        EXPECT_GE(logo.angle, -2.6f);
        EXPECT_LE(logo.angle, 2.6f);
    }
    EXPECT_GE(turns, 6);
    EXPECT_NEAR(period, 284, 3);
}

TEST(Swing, TurnFromFallingToRisingStepsOnInTheSameFrame) {
    const Swing rock{0.01, 0.57f, 17.0f};
    float angle = -16.5f, speed = 0.0f;
    int phase = 1;
    rock.step(angle, speed, phase);
    EXPECT_EQ(phase, 2);
    EXPECT_FLOAT_EQ(speed, 0.01f);
    EXPECT_FLOAT_EQ(angle, -16.99f);
}

TEST(Logo, SizeAndPlaceStayNearTheirRanges) {
    Logo logo = Scene().logo;
    for (int frame = 0; frame < 3000; ++frame) {
        stepLogo(logo);
        ASSERT_GT(logo.halfWidth, 0.44f);
        ASSERT_LT(logo.halfWidth, 0.56f);
        ASSERT_GT(logo.halfHeight, 0.14f);
        ASSERT_LT(logo.halfHeight, 0.26f);
        ASSERT_GT(logo.x, -0.31f);
        ASSERT_LT(logo.x, 0.26f);
        ASSERT_GT(logo.y, -0.31f);
        ASSERT_LT(logo.y, 0.31f);
    }
}

}  // namespace
