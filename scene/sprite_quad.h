// The one drawing primitive: a quad with its vertices top left, top right,
// bottom right, bottom left, white, with only the alpha varying.
#pragma once

#include <cstdint>

struct QuadCorners {
    float left, top, right, bottom;
};

// Binds `texture` and draws it over the corners; the picture's first row at the top.
void drawTexturedQuad(std::uint32_t texture, QuadCorners corners, float alpha);

// A picture centred on the current origin.
inline void drawSpriteQuad(std::uint32_t texture, float halfWidth, float halfHeight, float alpha) {
    drawTexturedQuad(texture, {-halfWidth, halfHeight, halfWidth, -halfHeight}, alpha);
}

// Untextured white quad whose top and bottom vertices may differ in alpha.
void drawPlainQuad(QuadCorners corners, float topAlpha, float bottomAlpha);
