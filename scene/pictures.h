// Texture-table entries of the scene's own pictures.
#pragma once

// "RC\Flake_1.png" to "RC\Flake_5.png" are entries 1 to 5.
inline constexpr int FLAKE_1_ENTRY = 1;
inline constexpr int FLAKE_PICTURES = 5;
inline constexpr int LOGO_ENTRY = 6;        // "RC\Main.png"
inline constexpr int CORNER_ENTRY = 7;      // "RC\HUG.png"
inline constexpr int BACKGROUND_ENTRY = 8;  // "RC\BG.png"
inline constexpr int FOREGROUND_ENTRY = 9;  // "RC\FG.png"
