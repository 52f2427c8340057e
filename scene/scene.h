// The one object holding all of the demo's animation state and its texture
// table. Members are plain data in a fixed order (the order of the state
// dumps); the Scene's constructor gives every member its start value.
#pragma once

#include <cstdint>

#include "image/asset_paths.h"
#include "text/scroll_text.h"

// Speed and phase of one eased motion (see scene/eased_oscillator.h).
struct MotionState {
    float speed = 0.0f;
    int phase = 0;
};

struct Snowflake {
    float gustSpeed = 0.0f;  // leftward speed taken off xBase each frame
    int gustPhase = 0;       // 0-3, phase of the gust cycle
    float alpha = 0.0f;
    float spinZ = 0.0f;      // degrees, never wrapped
    float spinY = 0.0f;
    float spinX = 0.0f;
    float fall = 0.0f;       // vertical offset from the base height 1.0
    // Used by flakes 1, 2 and 3 of a group only: the value of the drift channel
    // with their number, which every flake of the group reads its sway from.
    float drift = 0.0f;
    float xBase = 0.0f;
};

// One layer of snow: its three drift channels (channel 3 first) and its
// flakes (the highest-numbered first).
template <int N>
struct SnowGroup {
    static constexpr int COUNT = N;
    MotionState channels[3];
    Snowflake flakes[N];

    MotionState& channel(int c) { return channels[3 - c]; }
    const MotionState& channel(int c) const { return channels[3 - c]; }
    Snowflake& flake(int k) { return flakes[N - k]; }
    const Snowflake& flake(int k) const { return flakes[N - k]; }
};

struct Logo {
    float ySpeed = 0.0f;
    int yPhase = 0;
    float xSpeed = 0.0f;
    int xPhase = 0;
    float halfHeightSpeed = 0.0f;
    int halfHeightPhase = 0;
    float halfWidthSpeed = 0.0f;
    int halfWidthPhase = 0;
    float angleSpeed = 0.0f;
    int anglePhase = 0;
    float halfHeight = 0.15f;
    float halfWidth = 0.55f;
    float angle = 2.5f;  // degrees
    float y = 0.3f;
    float x = -0.3f;
};

class Scene {
public:
    Scene();

    // Decodes and uploads every picture on the first call; later calls return at once.
    void loadTextures();
    // Draw snow group 2 or 3 and step it by one frame; texturing is switched
    // on at the start and off at the end.
    void drawSnowGroup2();
    void drawSnowGroup3();
    // Draw the dancing scroll text and step it; switches texturing on and off itself.
    void drawDancingText();

    float overlaySpeed = 0.0f;
    int overlayPhase = 0;
    float flashAlpha = 2.0f;
    float gradientBottomAlpha = 0.1f;
    float gradientTopAlpha = 0.4f;

    SnowGroup<20> snow1;
    SnowGroup<13> snow2;
    SnowGroup<10> snow3;

    Logo logo;

    ScrollTextState greetings = makeScrollTextState(GREETINGS_START);
    ScrollTextState dancing = makeScrollTextState(DANCING_START);

    // GL texture names by entry number, in load order.
    std::uint32_t textures[assets::TEXTURE_COUNT] = {};
    int texturesLoaded = 0;
};
