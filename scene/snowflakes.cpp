#include "scene/snowflakes.h"

#include <GL/gl.h>

#include "scene/eased_oscillator.h"
#include "scene/pictures.h"
#include "scene/sprite_quad.h"

namespace {

// The drift channels sway between 0 and 0.15; only their units differ.
constexpr EasedOscillator driftChannel(double unit) {
    return {0.0f, 0.0375f, 0.075f, 0.1125f, 0.15f, unit, OscillatorOrder::RisingFirst, 0};
}
constexpr EasedOscillator DRIFT_CHANNELS[3] = {driftChannel(0.00005), driftChannel(0.00004),
                                               driftChannel(0.00006)};

// Flakes that wrap round re-enter on the other side, 2.6 further on.
constexpr float WRAP_LEFT = -1.3f;
constexpr float WRAP_RIGHT = 1.3f;
constexpr double WRAP_DISTANCE = 2.6;
// Below this fall a flake is out of the window and fades.
constexpr float FADE_BELOW = -1.3f;
constexpr float RESTART_FALL = 0.2f;

// Flakes hang from the top edge: their fall is measured from there.
constexpr float BASE_HEIGHT = 1.0f;

// Flake k of a group held highest-numbered first.
template <typename Flake>
Flake& flakeNumber(std::span<Flake> flakes, int k) {
    return flakes[flakes.size() - static_cast<std::size_t>(k)];
}

void spin(Snowflake& flake, const FlakeConstants& c) {
    flake.spinX = static_cast<float>(flake.spinX + c.spinX);
    flake.spinY = static_cast<float>(flake.spinY + c.spinY);
    flake.spinZ = static_cast<float>(flake.spinZ + c.spinZ);
}

void wrap(Snowflake& flake) {
    if (flake.xBase < WRAP_LEFT) {
        flake.xBase = static_cast<float>(flake.xBase + WRAP_DISTANCE);
    }
    if (flake.xBase > WRAP_RIGHT) {
        flake.xBase = static_cast<float>(flake.xBase - WRAP_DISTANCE);
    }
}

void fallAndFade(Snowflake& flake, const FlakeConstants& c) {
    const float f = flake.fall;
    if (f < FADE_BELOW) {
        flake.alpha = static_cast<float>(flake.alpha - c.fadeStep);
    }
    if (f > c.resetBelow) {
        flake.fall = static_cast<float>(f - c.fallStep);
    } else {
        flake.fall = RESTART_FALL;
        flake.alpha = c.alphaAfterReset;
    }
}

// A speed-up phase of the gust: true once the speed has passed its max,
// otherwise one step (adding only while at most the cap).
bool speedUp(Snowflake& flake, float max, double up, float cap) {
    if (flake.gustSpeed > max) {
        return true;
    }
    if (flake.gustSpeed <= cap) {
        flake.gustSpeed = static_cast<float>(flake.gustSpeed + up);
    }
    flake.xBase -= flake.gustSpeed;
    return false;
}

// A slow-down phase: true once the speed is below its min, otherwise one step.
bool slowDown(Snowflake& flake, float min, double down) {
    if (flake.gustSpeed < min) {
        return true;
    }
    flake.gustSpeed = static_cast<float>(flake.gustSpeed - down);
    flake.xBase -= flake.gustSpeed;
    return false;
}

// The group brightens while a channel swings out and dims as it comes back.
double twinkleChange(OscillatorPhase left, const TwinkleConstants& t, int channel) {
    switch (left) {
    case OscillatorPhase::RiseAccelerate:
        return t.first[channel - 1];
    case OscillatorPhase::RiseBrake:
        return t.second[channel - 1];
    case OscillatorPhase::FallAccelerate:
        return -t.second[channel - 1];
    case OscillatorPhase::FallBrake:
        return -t.first[channel - 1];
    }
    return 0.0;
}

}  // namespace

void stepGust(Snowflake& flake, const GustConstants& g) {
    int& p = flake.gustPhase;
    if (p == 0 && speedUp(flake, g.max0, g.up0, g.cap0)) {
        p = 1;
    }
    if (p == 1 && slowDown(flake, g.min1, g.down1)) {
        p = 2;
        if (g.stopsAtTurns) {
            flake.gustSpeed = 0.0f;
        }
    }
    if (p == 2 && speedUp(flake, g.max2, g.up2, g.cap2)) {
        p = 3;
    }
    // The turn back to phase 0 takes effect from the next frame.
    if (p == 3 && slowDown(flake, g.min3, g.down3)) {
        p = 0;
        if (g.stopsAtTurns) {
            flake.gustSpeed = 0.0f;
        }
    }
}

void drawSnowflakes(int group, std::span<const Snowflake> flakes, const std::uint32_t* textures) {
    const SnowGroupConstants& constants = snowGroupConstants(group);
    const int n = static_cast<int>(flakes.size());
    for (int k = 1; k <= n; ++k) {
        const Snowflake& flake = flakeNumber(flakes, k);
        const FlakeConstants& c = constants.flakes[k - 1];
        const float drift = flakeNumber(flakes, c.channel).drift;
        glPushMatrix();
        glTranslatef(flake.xBase, BASE_HEIGHT, 0.0f);
        glTranslatef(drift, flake.fall, 0.0f);
        glRotatef(flake.spinX, 1.0f, 0.0f, 0.0f);
        glRotatef(flake.spinY, 0.0f, 1.0f, 0.0f);
        glRotatef(flake.spinZ, 0.0f, 0.0f, 1.0f);
        const int picture = FLAKE_1_ENTRY + (k - 1) % FLAKE_PICTURES;
        drawSpriteQuad(textures[picture], c.halfSize, c.halfSize, flake.alpha);
        glPopMatrix();
    }
}

void stepSnowflakes(int group, std::span<MotionState, 3> channels, std::span<Snowflake> flakes) {
    const SnowGroupConstants& constants = snowGroupConstants(group);
    const int n = static_cast<int>(flakes.size());
    for (int k = 1; k <= n; ++k) {
        Snowflake& flake = flakeNumber(flakes, k);
        spin(flake, constants.flakes[k - 1]);
        wrap(flake);
        stepGust(flake, constants.gusts[k - 1]);
    }
    for (int k = 1; k <= n; ++k) {
        fallAndFade(flakeNumber(flakes, k), constants.flakes[k - 1]);
    }
    for (int c = 1; c <= 3; ++c) {
        MotionState& channel = channels[3 - c];
        DRIFT_CHANNELS[c - 1].step(flakeNumber(flakes, c).drift, channel.speed, channel.phase,
                                   [&](OscillatorPhase left) {
                                       for (int k = 1; k <= n; ++k) {
                                           Snowflake& flake = flakeNumber(flakes, k);
                                           const double change = twinkleChange(left, SNOW_TWINKLE[k - 1], c);
                                           flake.alpha = static_cast<float>(flake.alpha + change);
                                       }
                                   });
    }
}

void drawSnowGroup1(Scene& scene) {
    drawSnowGroup(1, scene.snow1, scene.textures);
    stepSnowGroup(1, scene.snow1);
}
