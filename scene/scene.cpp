#include "scene/scene.h"

#include <GL/gl.h>

#include "image/texture_table.h"
#include "scene/snowflakes.h"

namespace {

template <int N>
void placeFlakes(int group, SnowGroup<N>& snow) {
    const SnowGroupConstants& constants = snowGroupConstants(group);
    for (int k = 1; k <= N; ++k) {
        const FlakeConstants& c = constants.flakes[k - 1];
        Snowflake& flake = snow.flake(k);
        flake.alpha = c.alphaStart;
        flake.fall = c.fallStart;
        flake.xBase = c.xBaseStart;
    }
}

}  // namespace

Scene::Scene() {
    placeFlakes(1, snow1);
    placeFlakes(2, snow2);
    placeFlakes(3, snow3);
}

void Scene::loadTextures() {
    if (texturesLoaded != 0) {
        return;
    }
    loadTextureTable(textures);
    texturesLoaded = 1;
}

void Scene::drawSnowGroup2() {
    glEnable(GL_TEXTURE_2D);
    drawSnowGroup(2, snow2, textures);
    stepSnowGroup(2, snow2);
    glDisable(GL_TEXTURE_2D);
}

void Scene::drawSnowGroup3() {
    glEnable(GL_TEXTURE_2D);
    drawSnowGroup(3, snow3, textures);
    stepSnowGroup(3, snow3);
    glDisable(GL_TEXTURE_2D);
}
