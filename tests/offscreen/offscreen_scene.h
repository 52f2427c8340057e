// A test fixture that draws offscreen: a 600×600 window with the demo's GL
// state, and one small test picture standing in for every texture of a
// Scene, to see where quads land. Skips where there is no offscreen OpenGL.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "scene/scene.h"

class OffscreenScene : public testing::Test {
protected:
    // `rgba` is the picture, `width` × `height` pixels, first row on top.
    OffscreenScene(std::vector<std::uint8_t> rgba, int width, int height);

    void SetUp() override;
    void TearDown() override;

    // Red value of the pixel at (x, y) in window coordinates (-1 to 1, y up),
    // read once from what was drawn; clear `pixels` to read again.
    int redAt(float x, float y);

    platform::Window* window = nullptr;
    std::uint32_t texture = 0;
    Scene scene;
    std::vector<std::uint8_t> pixels;

private:
    std::vector<std::uint8_t> picture;
    int pictureWidth;
    int pictureHeight;
};
