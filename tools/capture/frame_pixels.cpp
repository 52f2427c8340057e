#include "tools/capture/frame_pixels.h"

#include "app/frame.h"

#include <GL/gl.h>

#include <cstddef>

std::vector<std::uint8_t> readFramePixels() {
    constexpr std::size_t ROW_BYTES = std::size_t{FRAME_SIZE} * 4;
    std::vector<std::uint8_t> bottomUp(ROW_BYTES * FRAME_SIZE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, FRAME_SIZE, FRAME_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());

    // GL counts rows from the bottom; pictures start at the top. What the
    // window shows is opaque, whatever alpha the drawing left behind.
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (std::size_t row = 0; row < FRAME_SIZE; ++row) {
        const std::uint8_t* source = bottomUp.data() + (FRAME_SIZE - 1 - row) * ROW_BYTES;
        std::uint8_t* target = topDown.data() + row * ROW_BYTES;
        for (std::size_t i = 0; i < ROW_BYTES; i += 4) {
            target[i] = source[i];
            target[i + 1] = source[i + 1];
            target[i + 2] = source[i + 2];
            target[i + 3] = 255;
        }
    }
    return topDown;
}
