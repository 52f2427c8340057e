#include "app/frame.h"

#include "music/player.h"
#include "scene/backdrop.h"
#include "scene/logo.h"
#include "scene/overlay.h"
#include "scene/snowflakes.h"
#include "text/scroll_text_draw.h"

#include <GL/gl.h>

void setUpGlState() {
    // Both matrices stay identity: everything is drawn in the square from -1 to 1.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(0, 0, FRAME_SIZE, FRAME_SIZE);
}

// The layers, back to front. Each draws itself with its current state and then
// steps it, so a change made in frame n is first seen in frame n+1.
void drawFrame(Scene& scene, LoopState& loop) {
    // 1. Clear to black.
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // 2. Textures (the first call does the loading).
    scene.loadTextures();

    // 3. The music, started once; the pictures never wait for it.
    if (loop.musicStarted == 0) {
        music::player_play(100, 0, 0);
        loop.musicStarted = 1;
    }

    // 4. Background.
    glEnable(GL_TEXTURE_2D);
    drawBackground(scene);
    glDisable(GL_TEXTURE_2D);

    // 5. Snow group 1: its flakes, then its fall stage and drift channels.
    glEnable(GL_TEXTURE_2D);
    drawSnowGroup1(scene);

    // 6. Greetings scroller: its glyphs, then its step.
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_2D);
    drawGreetings(scene);

    // 7. Snow group 2 (switches texturing on and off itself).
    glDisable(GL_TEXTURE_2D);
    scene.drawSnowGroup2();

    // 8. Logo, then its motion step.
    glEnable(GL_TEXTURE_2D);
    drawLogo(scene);
    stepLogo(scene.logo);

    // 9. Snow group 3, then the dancing scroll text (each switches texturing itself).
    glDisable(GL_TEXTURE_2D);
    scene.drawSnowGroup3();
    scene.drawDancingText();

    // 10. Foreground.
    glEnable(GL_TEXTURE_2D);
    drawForeground(scene);
    glDisable(GL_TEXTURE_2D);

    // 11. Corner picture.
    glEnable(GL_TEXTURE_2D);
    drawCorner(scene);
    glDisable(GL_TEXTURE_2D);

    // 12. Gradient and flash (untextured), then their fade step.
    drawGradient(scene);
    drawFlash(scene);
    stepOverlay(scene);
}
