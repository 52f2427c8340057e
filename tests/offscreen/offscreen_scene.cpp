#include "tests/offscreen/offscreen_scene.h"

#include <GL/gl.h>

#include <cstddef>
#include <utility>

#include "app/frame.h"
#include "tools/capture/frame_pixels.h"

OffscreenScene::OffscreenScene(std::vector<std::uint8_t> rgba, int width, int height)
    : picture(std::move(rgba)), pictureWidth(width), pictureHeight(height) {}

void OffscreenScene::SetUp() {
    const platform::OpenResult opened = platform::openWindow("offscreen test", FRAME_SIZE, FRAME_SIZE);
    if (opened.window == nullptr) {
        GTEST_SKIP() << "no offscreen OpenGL: " << (opened.error != nullptr ? opened.error : "");
    }
    window = opened.window;
    setUpGlState();
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pictureWidth, pictureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
    for (std::uint32_t& entry : scene.textures) {
        entry = texture;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void OffscreenScene::TearDown() {
    if (window != nullptr) {
        glDeleteTextures(1, &texture);
        platform::closeWindow(window);
    }
}

int OffscreenScene::redAt(float x, float y) {
    if (pixels.empty()) {
        pixels = readFramePixels();
    }
    const auto column = static_cast<std::size_t>((x + 1.0f) * 0.5f * FRAME_SIZE);
    const auto row = static_cast<std::size_t>((1.0f - y) * 0.5f * FRAME_SIZE);
    return pixels[(row * FRAME_SIZE + column) * 4];
}
