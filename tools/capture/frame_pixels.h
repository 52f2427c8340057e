// The picture the current GL context has drawn, as plain pixels.
#pragma once

#include <cstdint>
#include <vector>

// FRAME_SIZE x FRAME_SIZE opaque RGBA pixels, 4 bytes each, top row first.
std::vector<std::uint8_t> readFramePixels();
