// A Scene as text: every member on a line of its own, "name value", in
// declaration order. Floats carry nine significant digits, enough to tell
// any two single-precision values apart.
#pragma once

#include <cstdio>

class Scene;

void dumpScene(const Scene& scene, std::FILE* out);

// Line writers shared by every part of the dump; `name` is written as
// prefix followed by member, e.g. ("snow1.flake3.", "xBase").
void dumpFloat(std::FILE* out, const char* prefix, const char* member, float value);
void dumpInt(std::FILE* out, const char* prefix, const char* member, long long value);
