#include "scene/logo.h"

#include <GL/gl.h>

#include "scene/eased_oscillator.h"
#include "scene/pictures.h"
#include "scene/sprite_quad.h"
#include "scene/swing.h"

namespace {

constexpr Swing TILT{0.001, 0.07f, 2.5f};
constexpr EasedOscillator HALF_WIDTH{0.45f, 0.475f, 0.5f, 0.525f, 0.55f, 0.00007, OscillatorOrder::FallingFirst, 0};
constexpr EasedOscillator HALF_HEIGHT{0.15f, 0.175f, 0.2f, 0.225f, 0.25f, 0.00007, OscillatorOrder::RisingFirst, 0};
constexpr EasedOscillator X{-0.3f, -0.1625f, -0.025f, 0.1125f, 0.25f, 0.0002, OscillatorOrder::RisingFirst, 0};
constexpr EasedOscillator Y{-0.3f, -0.1f, 0.0f, 0.1f, 0.3f, 0.00015, OscillatorOrder::FallingFirst, 0};

// The logo floats a quarter of the window above the centre. Its z of 1.0
// lies on the edge of the clip volume and is still drawn.
constexpr float CENTRE_Y = 0.25f;
constexpr float DEPTH = 1.0f;

}  // namespace

void drawLogo(const Scene& scene) {
    const Logo& logo = scene.logo;
    glPushMatrix();
    glTranslatef(0.0f, CENTRE_Y, 0.0f);
    glTranslatef(logo.x, logo.y, DEPTH);
    glRotatef(logo.angle, 0.0f, 0.0f, 1.0f);
    drawSpriteQuad(scene.textures[LOGO_ENTRY], logo.halfWidth, logo.halfHeight, 1.0f);
    glPopMatrix();
}

void stepLogo(Logo& logo) {
    TILT.step(logo.angle, logo.angleSpeed, logo.anglePhase);
    HALF_WIDTH.step(logo.halfWidth, logo.halfWidthSpeed, logo.halfWidthPhase);
    HALF_HEIGHT.step(logo.halfHeight, logo.halfHeightSpeed, logo.halfHeightPhase);
    X.step(logo.x, logo.xSpeed, logo.xPhase);
    Y.step(logo.y, logo.ySpeed, logo.yPhase);
}
