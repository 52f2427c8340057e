// The still pictures: background, foreground and the corner signature.
#pragma once

#include "scene/scene.h"

// Each binds its picture and draws it; texturing must be on.
void drawBackground(const Scene& scene);
void drawForeground(const Scene& scene);
void drawCorner(const Scene& scene);
