// Where every picture of the demo lives, and in which order the texture table loads them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace assets {

inline constexpr std::size_t TEXTURE_COUNT = 202;
inline constexpr std::size_t GLYPH_COUNT = 96;

// File names of one glyph set by position: digits, capitals, small letters (lc_), named symbols.
// Position 5 (the digit five) has no picture of its own and loads "A.png".
extern const std::array<std::string_view, GLYPH_COUNT> glyphFileNames;

// The asset paths of the texture table in load order, with backslashes ("RC\font_set2\lc_A.png"):
// the icon, Flake_1 to Flake_5, Main, HUG, BG, FG, then font_set and font_set2 in glyph order.
const std::array<std::string, TEXTURE_COUNT>& texturePaths();

// The same relative path with this platform's separator.
std::string toPlatformPath(std::string_view backslashPath);

}  // namespace assets
