// Drawing and stepping one group of snowflakes. A group's flakes are given
// highest-numbered first (their order in the Scene); they are drawn and
// stepped from flake 1 on.
#pragma once

#include <cstdint>
#include <span>

#include "scene/scene.h"
#include "scene/snow_tables.h"

// Draws every flake of group `group` (1-3) at its current place; texturing
// must be on and blending set up.
void drawSnowflakes(int group, std::span<const Snowflake> flakes, const std::uint32_t* textures);

// One frame of a group: per flake spin, wrap and gust; then every flake's
// fall and fade; then the three drift channels with their twinkle.
void stepSnowflakes(int group, std::span<MotionState, 3> channels, std::span<Snowflake> flakes);

// One frame of a flake's gust cycle, moving it left by its gust speed.
void stepGust(Snowflake& flake, const GustConstants& gust);

template <int N>
void drawSnowGroup(int group, const SnowGroup<N>& snow, const std::uint32_t* textures) {
    drawSnowflakes(group, snow.flakes, textures);
}

template <int N>
void stepSnowGroup(int group, SnowGroup<N>& snow) {
    stepSnowflakes(group, snow.channels, snow.flakes);
}

// Group 1 belongs to the frame loop: it draws with texturing already on.
void drawSnowGroup1(Scene& scene);
