// The scene's layers drawn offscreen with plain test pictures, to see where
// each quad lands, which way up its picture is and how its alpha blends.
#include "scene/backdrop.h"
#include "scene/logo.h"
#include "scene/overlay.h"
#include "scene/scene.h"
#include "scene/snowflakes.h"
#include "tests/offscreen/offscreen_scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class SceneDraw : public OffscreenScene {
protected:
    // White on top, black below: shows which way up a picture is drawn.
    SceneDraw() : OffscreenScene({255, 255, 255, 255, 0, 0, 0, 255}, 1, 2) {}

    void SetUp() override {
        OffscreenScene::SetUp();
        scene.texturesLoaded = 1;
    }
};

TEST_F(SceneDraw, PicturesAreDrawnTopRowUp) {
    glEnable(GL_TEXTURE_2D);
    drawBackground(scene);
    EXPECT_EQ(redAt(0.0f, 0.5f), 255);
    EXPECT_EQ(redAt(0.0f, -0.5f), 0);
}

TEST_F(SceneDraw, CornerPictureFillsItsStripOnly) {
    glEnable(GL_TEXTURE_2D);
    drawCorner(scene);
    EXPECT_EQ(redAt(0.9f, -0.95f), 255);  // the strip's upper half
    EXPECT_EQ(redAt(0.9f, -0.99f), 0);    // its lower half, black
    EXPECT_EQ(redAt(0.75f, -0.95f), 0);
    EXPECT_EQ(redAt(0.9f, -0.9f), 0);
}

TEST_F(SceneDraw, GradientAndFlashBlendWithTheirAlphas) {
    drawGradient(scene);
    EXPECT_NEAR(redAt(0.0f, 0.99f), 102, 2);  // 0.4 at the top
    EXPECT_NEAR(redAt(0.0f, -0.99f), 26, 2);  // 0.1 at the bottom
    pixels.clear();
    drawFlash(scene);  // alpha 2.0 counts as 1
    EXPECT_EQ(redAt(0.0f, 0.0f), 255);
    EXPECT_EQ(redAt(-0.99f, -0.99f), 255);
}

TEST_F(SceneDraw, LogoSitsAQuarterAboveItsPlaceAtTheClipEdge) {
    scene.logo.x = 0.2f;
    scene.logo.y = -0.25f;
    scene.logo.angle = 0.0f;
    glEnable(GL_TEXTURE_2D);
    drawLogo(scene);
    // Centred at (0.2, 0): white above the centre line, black below it.
    EXPECT_EQ(redAt(0.2f, 0.1f), 255);
    EXPECT_EQ(redAt(0.7f, 0.1f), 255);
    EXPECT_EQ(redAt(0.2f, 0.2f), 0);
    EXPECT_EQ(redAt(0.8f, 0.1f), 0);
}

TEST_F(SceneDraw, FlakesSitAtBasePlusDriftAndFall) {
    for (Snowflake& flake : scene.snow1.flakes) {
        flake.alpha = 0.0f;
    }
    Snowflake& flake4 = scene.snow1.flake(4);  // sways with channel 1
    flake4.xBase = 0.3f;
    flake4.fall = -1.0f;
    flake4.alpha = 1.0f;
    scene.snow1.flake(1).drift = 0.2f;
    glEnable(GL_TEXTURE_2D);
    drawSnowGroup(1, scene.snow1, scene.textures);
    EXPECT_EQ(redAt(0.5f, 0.01f), 255);
    EXPECT_EQ(redAt(0.5f, -0.01f), 0);
    EXPECT_EQ(redAt(0.5f, 0.04f), 0);  // half-size about 0.025
    EXPECT_EQ(redAt(0.3f, 0.01f), 0);
}

}  // namespace
