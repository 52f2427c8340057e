// A ScrollTextState as text for the scene dump: one "name value" line per
// member in declaration order, named after the text, e.g. "greetings.scrollX".
#pragma once

#include <cstdio>

struct ScrollTextState;

void dumpScrollText(std::FILE* out, const char* textName, const ScrollTextState& state);
