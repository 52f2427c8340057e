// The picture the current GL context has drawn, as plain pixels.
#pragma once

#include <cstdint>
#include <vector>

// FRAME_SIZE x FRAME_SIZE RGB pixels, 3 bytes each, top row first.
std::vector<std::uint8_t> readFramePixels();
