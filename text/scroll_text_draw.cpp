#include "text/scroll_text_draw.h"

#include <GL/gl.h>

#include <cstdint>
#include <span>

#include "scene/scene.h"
#include "scene/sprite_quad.h"
#include "text/scroll_motion.h"

namespace {

// Each glyph is placed by the line's sway, its own x and the line's height,
// then the scroll and its group's bob, and turned about its own centre.
void drawGlyphs(const ScrollTextState& state, std::span<const GlyphEntry> glyphs, std::span<const float> xs,
                float halfSize, const std::uint32_t* textures) {
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const float waveOffset = state.*waveGroups[i % SCROLL_TEXT_GROUPS].offset;
        glPushMatrix();
        glTranslatef(state.swayX, 0.0f, 0.0f);
        glTranslatef(xs[i], state.textY, 0.0f);
        glTranslatef(state.scrollX, waveOffset, 0.0f);
        glRotatef(state.rockAngle, 0.0f, 0.0f, 1.0f);
        drawSpriteQuad(textures[glyphs[i]], halfSize, halfSize, 1.0f);
        glPopMatrix();
    }
}

}  // namespace

void drawGreetings(Scene& scene) {
    static const auto xs = glyphXs<GREETINGS_GLYPH_COUNT>(GREETINGS_ROW);
    drawGlyphs(scene.greetings, GREETINGS_GLYPHS, xs, GREETINGS_ROW.halfSize, scene.textures);
    stepScrollText(scene.greetings, GREETINGS_MOTION);
}

void Scene::drawDancingText() {
    static const auto xs = glyphXs<DANCING_GLYPH_COUNT>(DANCING_ROW);
    glEnable(GL_TEXTURE_2D);
    drawGlyphs(dancing, DANCING_GLYPHS, xs, DANCING_ROW.halfSize, textures);
    stepScrollText(dancing, DANCING_MOTION);
    glDisable(GL_TEXTURE_2D);
}
