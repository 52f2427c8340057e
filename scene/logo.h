// The floating logo: it tilts, breathes in width and height and drifts in x and y.
#pragma once

#include "scene/scene.h"

// Draws the logo at its current place; texturing must be on.
void drawLogo(const Scene& scene);

// One frame of its five motions: tilt, half-width, half-height, x, y.
void stepLogo(Logo& logo);
