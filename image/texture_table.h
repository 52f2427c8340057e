// The texture table: every picture of the demo as an OpenGL texture, made in one go.
#pragma once

#include <cstdint>

#include "image/asset_paths.h"

// Reads, decodes and uploads the pictures at assets::texturePaths() in that order, one new texture
// name per entry: names[i] is the texture of entry i. Each texture samples with GL_NEAREST both ways
// and has level 0 only, in 8-bit RGBA (see texture_pixels.h for pictures in other formats). A picture
// that cannot be read or decoded still gets its texture name, holding an empty 0 x 0 picture, and the
// load goes on. Paths are relative to the working directory. Needs a current OpenGL context.
void loadTextureTable(std::uint32_t (&names)[assets::TEXTURE_COUNT]);
