#include "scene/backdrop.h"

#include "scene/pictures.h"
#include "scene/sprite_quad.h"

namespace {

constexpr QuadCorners FULL_WINDOW{-1.0f, 1.0f, 1.0f, -1.0f};
// A strip 0.2 wide and 0.07 high in the lower right corner.
constexpr QuadCorners CORNER_STRIP{0.8f, -0.93f, 1.0f, -1.0f};

}  // namespace

void drawBackground(const Scene& scene) {
    drawTexturedQuad(scene.textures[BACKGROUND_ENTRY], FULL_WINDOW, 1.0f);
}

void drawForeground(const Scene& scene) {
    drawTexturedQuad(scene.textures[FOREGROUND_ENTRY], FULL_WINDOW, 1.0f);
}

void drawCorner(const Scene& scene) {
    drawTexturedQuad(scene.textures[CORNER_ENTRY], CORNER_STRIP, 1.0f);
}
