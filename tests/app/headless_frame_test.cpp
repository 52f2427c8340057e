// Whole frames drawn offscreen through the demo's own frame function.
#include "app/frame.h"
#include "platform/platform.h"
#include "tools/capture/frame_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

class HeadlessFrame : public testing::Test {
protected:
    void SetUp() override {
        const platform::OpenResult opened = platform::openWindow("test", FRAME_SIZE, FRAME_SIZE);
        ASSERT_NE(opened.window, nullptr) << "no offscreen OpenGL: " << (opened.error ? opened.error : "");
        window = opened.window;
        setUpGlState();
        loop.musicStarted = 1;
    }
    void TearDown() override {
        if (window != nullptr) platform::closeWindow(window);
    }

    platform::Window* window = nullptr;
    Scene scene;
    LoopState loop;
};

TEST_F(HeadlessFrame, FirstFrameIsAllWhiteUnderTheFlash) {
    drawFrame(scene, loop);
    const std::vector<std::uint8_t> pixels = readFramePixels();
    ASSERT_EQ(pixels.size(), std::size_t{FRAME_SIZE} * FRAME_SIZE * 4);
    const auto notWhite = std::find_if(pixels.begin(), pixels.end(), [](std::uint8_t v) { return v != 255; });
    EXPECT_EQ(notWhite, pixels.end()) << "byte " << (notWhite - pixels.begin()) << " of the picture is "
                                      << int(notWhite == pixels.end() ? 255 : *notWhite);
}

}  // namespace
