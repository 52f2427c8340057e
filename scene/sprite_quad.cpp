#include "scene/sprite_quad.h"

#include <GL/gl.h>

void drawTexturedQuad(std::uint32_t texture, QuadCorners c, float alpha) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glVertex2f(c.left, c.top);
    glTexCoord2f(1.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glVertex2f(c.right, c.top);
    glTexCoord2f(1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glVertex2f(c.right, c.bottom);
    glTexCoord2f(0.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glVertex2f(c.left, c.bottom);
    glEnd();
}

void drawPlainQuad(QuadCorners c, float topAlpha, float bottomAlpha) {
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, topAlpha);
    glVertex2f(c.left, c.top);
    glColor4f(1.0f, 1.0f, 1.0f, topAlpha);
    glVertex2f(c.right, c.top);
    glColor4f(1.0f, 1.0f, 1.0f, bottomAlpha);
    glVertex2f(c.right, c.bottom);
    glColor4f(1.0f, 1.0f, 1.0f, bottomAlpha);
    glVertex2f(c.left, c.bottom);
    glEnd();
}
