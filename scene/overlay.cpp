#include "scene/overlay.h"

#include "scene/eased_oscillator.h"
#include "scene/sprite_quad.h"

namespace {

constexpr QuadCorners FULL_WINDOW{-1.0f, 1.0f, 1.0f, -1.0f};

// The top breathes between 0.4 and 0.8, its phases numbered from 1: phase 0
// is the approach to 0.4, taken once.
constexpr EasedOscillator BREATHING{0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.000005, OscillatorOrder::RisingFirst, 1};
constexpr float TOP_FLOOR = 0.4f;
constexpr double TOP_APPROACH_STEP = 0.002;
constexpr float BOTTOM_FLOOR = 0.1f;
constexpr double BOTTOM_APPROACH_STEP = 0.004;
constexpr double FLASH_FADE_STEP = 0.003;

}  // namespace

void drawGradient(const Scene& scene) {
    drawPlainQuad(FULL_WINDOW, scene.gradientTopAlpha, scene.gradientBottomAlpha);
}

void drawFlash(const Scene& scene) {
    drawPlainQuad(FULL_WINDOW, scene.flashAlpha, scene.flashAlpha);
}

void stepOverlay(Scene& scene) {
    if (scene.overlayPhase == 0) {
        if (scene.gradientTopAlpha <= TOP_FLOOR) {
            scene.gradientTopAlpha = TOP_FLOOR;
            scene.overlayPhase = 1;
        } else {
            scene.gradientTopAlpha = static_cast<float>(scene.gradientTopAlpha - TOP_APPROACH_STEP);
        }
    }
    if (scene.gradientBottomAlpha <= BOTTOM_FLOOR) {
        scene.gradientBottomAlpha = BOTTOM_FLOOR;
    } else {
        scene.gradientBottomAlpha = static_cast<float>(scene.gradientBottomAlpha - BOTTOM_APPROACH_STEP);
    }
    // The flash may end a hair below 0 for one frame before it is held at 0.
    if (scene.flashAlpha <= 0.0f) {
        scene.flashAlpha = 0.0f;
    } else {
        scene.flashAlpha = static_cast<float>(scene.flashAlpha - FLASH_FADE_STEP);
    }
    BREATHING.step(scene.gradientTopAlpha, scene.overlaySpeed, scene.overlayPhase);
}
