#include "scene/snowflakes.h"

#include <gtest/gtest.h>

#include "scene/scene.h"
#include "scene/snow_tables.h"

namespace {

TEST(SnowTables, GroupsHoldTheirFlakesWithSaneConstants) {
    const std::size_t sizes[3] = {20, 13, 10};
    for (int group = 1; group <= 3; ++group) {
        const SnowGroupConstants& g = snowGroupConstants(group);
        ASSERT_EQ(g.flakes.size(), sizes[group - 1]);
        ASSERT_EQ(g.gusts.size(), sizes[group - 1]);
        for (std::size_t k = 1; k <= g.flakes.size(); ++k) {
            const FlakeConstants& c = g.flakes[k - 1];
            const GustConstants& gust = g.gusts[k - 1];
            SCOPED_TRACE("group " + std::to_string(group) + " flake " + std::to_string(k));
            EXPECT_GE(c.channel, 1);
            EXPECT_LE(c.channel, 3);
            EXPECT_GT(c.halfSize, 0.02f * static_cast<float>(group));
            EXPECT_LT(c.halfSize, 0.03f * static_cast<float>(group));
            EXPECT_GT(c.fallStep, 0.0);
            EXPECT_GT(gust.max0, gust.min1);
            EXPECT_GT(gust.max2, gust.min3);
            const bool flake1 = group == 1 && k == 1;
            EXPECT_EQ(c.resetBelow, flake1 ? -1.85f : -2.3f);
            const bool flake19 = group == 1 && k == 19;
            EXPECT_EQ(c.fadeStep, flake19 ? 0.0044 : 0.005);
            // Only group 3 flakes 5 to 10 start with another alpha than after a reset.
            const bool ownStart = group == 3 && k >= 5;
            EXPECT_EQ(c.alphaStart != c.alphaAfterReset, ownStart);
            EXPECT_EQ(gust.stopsAtTurns, group == 3 && k >= 6);
        }
    }
    const FlakeConstants& flake9 = snowGroupConstants(3).flakes[8];
    EXPECT_EQ(flake9.alphaStart, 0.77f);
    EXPECT_EQ(flake9.alphaAfterReset, 1.0f);
}

TEST(Snowflakes, Group1Flake1RestartsAtFallMinus185AfterFadingOut) {
    Scene scene;
    const Snowflake& flake = scene.snow1.flake(1);
    float lastFall = 0.0f, lastAlpha = 0.0f;
    int frame = 0;
    for (; frame < 2000; ++frame) {
        lastFall = flake.fall;
        lastAlpha = flake.alpha;
        stepSnowGroup(1, scene.snow1);
        if (flake.fall == 0.2f) {
            break;
        }
    }
    EXPECT_NEAR(lastFall, -1.85f, 0.002f);
    EXPECT_LE(lastFall, -1.85f);
    EXPECT_NEAR(frame, 925, 2);
    EXPECT_LE(lastAlpha, 0.0f);
    EXPECT_EQ(flake.alpha, 0.3f);
}

TEST(Snowflakes, Group3Flake9StartsAt077AndRestartsAt1) {
    Scene scene;
    const Snowflake& flake = scene.snow3.flake(9);
    EXPECT_EQ(flake.alpha, 0.77f);
    int frame = 0;
    for (; frame < 1000 && flake.fall != 0.2f; ++frame) {
        stepSnowGroup(3, scene.snow3);
    }
    EXPECT_NEAR(frame, 371, 2);
    EXPECT_EQ(flake.alpha, 1.0f);
}

TEST(Snowflakes, CappedFlakesNeverLeaveGustPhase0) {
    Scene scene;
    for (int frame = 0; frame < 20000; ++frame) {
        stepSnowGroup(1, scene.snow1);
        ASSERT_EQ(scene.snow1.flake(5).gustPhase, 0) << frame;
        ASSERT_EQ(scene.snow1.flake(14).gustPhase, 0) << frame;
    }
    EXPECT_GT(scene.snow1.flake(5).gustSpeed, 0.0024f);
    EXPECT_LT(scene.snow1.flake(5).gustSpeed, 0.0024f + 0.00003f + 1e-7f);
    EXPECT_GT(scene.snow1.flake(14).gustSpeed, 0.0026f);
    EXPECT_LT(scene.snow1.flake(14).gustSpeed, 0.0026f + 0.000017f + 1e-7f);
}

TEST(Snowflakes, WrapComesBeforeTheGustOfTheSameFrame) {
    Scene scene;
    Snowflake& flake = scene.snow1.flake(1);
    flake.xBase = -1.2999f;
    flake.gustSpeed = 0.002f;
    stepSnowGroup(1, scene.snow1);
    EXPECT_LT(flake.xBase, -1.3f);  // drawn once just past the left edge
    const float before = flake.xBase;
    stepSnowGroup(1, scene.snow1);
    EXPECT_NEAR(flake.xBase, before + 2.6f - flake.gustSpeed, 1e-6f);

    flake.xBase = 1.31f;
    flake.gustSpeed = 0.0f;
    stepSnowGroup(1, scene.snow1);
    EXPECT_NEAR(flake.xBase, 1.31f - 2.6f - 0.000025f, 1e-6f);
}

TEST(Snowflakes, StoppingFlakesRestartTheirSpeedAtTheTurns) {
    const GustConstants& gust = snowGroupConstants(3).gusts[5];
    Snowflake flake;
    flake.xBase = 0.5f;
    flake.gustPhase = 1;
    flake.gustSpeed = gust.min1 * 0.5f;
    stepGust(flake, gust);
    EXPECT_EQ(flake.gustPhase, 2);
    EXPECT_EQ(flake.gustSpeed, static_cast<float>(0.0 + gust.up2));
    EXPECT_EQ(flake.xBase, 0.5f - flake.gustSpeed);

    flake.gustPhase = 3;
    flake.gustSpeed = gust.min3 * 0.5f;
    const float x = flake.xBase;
    stepGust(flake, gust);
    EXPECT_EQ(flake.gustPhase, 0);
    EXPECT_EQ(flake.gustSpeed, 0.0f);
    EXPECT_EQ(flake.xBase, x);

    // Other flakes keep their speed through the same turns.
    const GustConstants& plain = snowGroupConstants(3).gusts[4];
    flake.gustPhase = 3;
    flake.gustSpeed = plain.min3 * 0.5f;
    stepGust(flake, plain);
    EXPECT_EQ(flake.gustSpeed, plain.min3 * 0.5f);
}

TEST(Snowflakes, GustCycleKeepsDriftingLeft) {
    Scene scene;
    const Snowflake& flake = scene.snow2.flake(4);
    int wraps = 0;
    float previous = flake.xBase;
    for (int frame = 0; frame < 5000; ++frame) {
        stepSnowGroup(2, scene.snow2);
        if (flake.xBase > previous + 1.0f) {
            ++wraps;
        }
        previous = flake.xBase;
        ASSERT_GE(flake.xBase, -1.31f);
        ASSERT_LE(flake.xBase, 1.3f);
    }
    EXPECT_GE(wraps, 1);
}

TEST(Snowflakes, DriftHandOversTwinkleTheWholeGroup) {
    Scene scene;
    SnowGroup<13>& snow = scene.snow2;
    int handOvers = 0;
    // Until frame 180 no flake of group 2 is low enough to fade or restart.
    for (int frame = 0; frame < 180; ++frame) {
        SnowGroup<13> before = snow;
        stepSnowGroup(2, snow);
        for (int k = 1; k <= 13; ++k) {
            float expected = before.flake(k).alpha;
            for (int c = 1; c <= 3; ++c) {
                const int from = before.channel(c).phase;
                if (from == snow.channel(c).phase) {
                    continue;
                }
                const TwinkleConstants& t = SNOW_TWINKLE[k - 1];
                const double changes[4] = {t.first[c - 1], t.second[c - 1], -t.second[c - 1], -t.first[c - 1]};
                const double change = changes[from];
                expected = static_cast<float>(expected + change);
                handOvers += k == 1;
            }
            ASSERT_EQ(snow.flake(k).alpha, expected) << "frame " << frame << " flake " << k;
        }
    }
    EXPECT_GE(handOvers, 4);
}

TEST(Snowflakes, TwinkleCancelsOverWholeChannelCycles) {
    Scene scene;
    SnowGroup<10>& snow = scene.snow3;
    // Keep the flakes high so that no fade or restart touches their alpha.
    int frame = 0;
    for (; frame < 20000; ++frame) {
        for (Snowflake& flake : snow.flakes) {
            flake.fall = 0.0f;
        }
        stepSnowGroup(3, snow);
        if (frame > 100 && snow.channel(1).phase == 0 && snow.channel(2).phase == 0 &&
            snow.channel(3).phase == 0) {
            break;
        }
    }
    ASSERT_LT(frame, 20000);
    const SnowGroupConstants& constants = snowGroupConstants(3);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_NEAR(snow.flake(k).alpha, constants.flakes[k - 1].alphaStart, 1e-5f) << "flake " << k;
    }
}

}  // namespace
