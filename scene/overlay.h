// The two white quads over everything: a slowly breathing vertical gradient
// and the flash that covers the first seconds of the show.
#pragma once

#include "scene/scene.h"

// Untextured; texturing must be off.
void drawGradient(const Scene& scene);
void drawFlash(const Scene& scene);

// One frame of the gradient's breathing and the flash's fade.
void stepOverlay(Scene& scene);
