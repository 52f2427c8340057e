#include "tools/capture/frame_pixels.h"

#include "app/frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

std::vector<std::uint8_t> readFramePixels() {
    constexpr std::size_t ROW_BYTES = FRAME_SIZE * 3;
    std::vector<std::uint8_t> bottomUp(ROW_BYTES * FRAME_SIZE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, FRAME_SIZE, FRAME_SIZE, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());

    // GL counts rows from the bottom; pictures start at the top.
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (std::size_t row = 0; row < FRAME_SIZE; ++row) {
        const auto source = bottomUp.begin() + static_cast<std::ptrdiff_t>((FRAME_SIZE - 1 - row) * ROW_BYTES);
        std::copy(source, source + ROW_BYTES, topDown.begin() + static_cast<std::ptrdiff_t>(row * ROW_BYTES));
    }
    return topDown;
}
