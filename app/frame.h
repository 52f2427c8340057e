// One frame of the demo: every layer drawn and stepped, in their fixed order.
#pragma once

#include "scene/scene.h"

#include <cstdint>

// The picture is drawn into a square of this many pixels.
inline constexpr int FRAME_SIZE = 600;

// What the frame loop keeps beside the scene.
struct LoopState {
    std::int32_t musicStarted = 0;  // 1 once the music has been started
};

// The GL state that holds for the whole run; set once, after the context is made.
void setUpGlState();

// Clears, draws and steps every layer; leaves presenting the frame to the caller.
void drawFrame(Scene& scene, LoopState& loop);
