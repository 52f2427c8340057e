// Both texts drawn offscreen with plain white glyphs, to see where each glyph
// lands: the line's sway, the glyph's own x, the scroll, its group's bob and
// the turn about its own centre.
#include "scene/scene.h"
#include "tests/offscreen/offscreen_scene.h"
#include "text/scroll_motion.h"
#include "text/scroll_text_draw.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class ScrollTextDraw : public OffscreenScene {
protected:
    ScrollTextDraw() : OffscreenScene({255, 255, 255, 255}, 1, 1) {}

    // Whether the pixel at (x, y) in window coordinates (-1 to 1, y up) is lit.
    bool litAt(float x, float y) { return redAt(x, y) > 128; }

    // A still line with glyph 0 centred at (centreX, 0).
    static void placeStill(ScrollTextState& state, const GlyphRow& row, float centreX) {
        state.scrollX = centreX - glyphX(row, 0);
        state.rockAngle = 0.0f;
        state.textY = 0.0f;
    }
};

TEST_F(ScrollTextDraw, DancingGlyphsSitOneAdvanceApartAndBobByGroup) {
    placeStill(scene.dancing, DANCING_ROW, -0.7f);
    scene.dancing.swayX = -0.1f;
    scene.dancing.waveOffset2 = 0.5f;   // glyph 1
    scene.dancing.waveOffset3 = -0.5f;  // glyph 2
    const ScrollTextState drawn = scene.dancing;
    scene.drawDancingText();

    EXPECT_TRUE(litAt(-0.8f, 0.0f));   // glyph 0 at -0.7 - 0.1
    EXPECT_TRUE(litAt(-0.94f, 0.14f));
    EXPECT_FALSE(litAt(-0.8f, 0.17f));
    EXPECT_FALSE(litAt(-0.97f, 0.0f));
    EXPECT_TRUE(litAt(-0.45f, 0.5f));  // glyph 1, raised by its group
    EXPECT_FALSE(litAt(-0.45f, 0.0f));
    EXPECT_TRUE(litAt(-0.1f, -0.5f));  // glyph 2, lowered by its group
    EXPECT_TRUE(litAt(0.25f, 0.0f));   // glyph 3
    EXPECT_FALSE(litAt(0.06f, 0.0f));  // the gap between glyphs 2 and 3
    EXPECT_TRUE(litAt(0.95f, 0.0f));   // glyph 5
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // Drawn with the state it had, then stepped once.
    ScrollTextState stepped = drawn;
    stepScrollText(stepped, DANCING_MOTION);
    EXPECT_EQ(scene.dancing.rockAngle, stepped.rockAngle);
    EXPECT_EQ(scene.dancing.startDelay, stepped.startDelay);
}

TEST_F(ScrollTextDraw, GreetingGlyphsTurnAboutTheirOwnCentres) {
    placeStill(scene.greetings, GREETINGS_ROW, 0.0f);
    scene.greetings.textY = 0.5f;
    scene.greetings.rockAngle = 45.0f;
    glEnable(GL_TEXTURE_2D);
    drawGreetings(scene);
    glDisable(GL_TEXTURE_2D);

    // Turned by 45 degrees, glyph 0's corners point up, down, left and right,
    // reaching 0.07 * sqrt(2) from its centre.
    EXPECT_TRUE(litAt(0.0f, 0.5f));
    EXPECT_TRUE(litAt(0.0f, 0.585f));
    EXPECT_TRUE(litAt(0.085f, 0.5f));
    EXPECT_FALSE(litAt(0.06f, 0.56f));
    EXPECT_TRUE(litAt(0.15f, 0.5f));  // glyph 1
    EXPECT_TRUE(litAt(0.3f, 0.5f));   // glyph 2
    EXPECT_FALSE(litAt(0.0f, 0.0f));
}

}  // namespace
