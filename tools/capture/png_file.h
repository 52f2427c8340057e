// Saving pictures as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `width` x `height` RGB pixels (top row first) to `path`; on failure
// returns false with the reason in `error`.
bool writeRgbPng(const std::string& path, const std::vector<std::uint8_t>& pixels, int width, int height,
                 std::string& error);
