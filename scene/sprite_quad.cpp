#include "scene/sprite_quad.h"

#include <GL/gl.h>

namespace {

// Top left, top right, bottom right, bottom left; the texture's first row on top.
void emitQuad(QuadCorners c, float topAlpha, float bottomAlpha, bool textured) {
    const float x[4] = {c.left, c.right, c.right, c.left};
    const float y[4] = {c.top, c.top, c.bottom, c.bottom};
    const float s[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    const float t[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    const float alpha[4] = {topAlpha, topAlpha, bottomAlpha, bottomAlpha};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        if (textured) {
            glTexCoord2f(s[i], t[i]);
        }
        glColor4f(1.0f, 1.0f, 1.0f, alpha[i]);
        glVertex2f(x[i], y[i]);
    }
    glEnd();
}

}  // namespace

void drawTexturedQuad(std::uint32_t texture, QuadCorners corners, float alpha) {
    glBindTexture(GL_TEXTURE_2D, texture);
    emitQuad(corners, alpha, alpha, true);
}

void drawPlainQuad(QuadCorners corners, float topAlpha, float bottomAlpha) {
    emitQuad(corners, topAlpha, bottomAlpha, false);
}
