// Finds where a song repeats, for renders that must end: a pass ends when the
// song returns to its restart position at the end of the order list, or to a
// row it already played in this pass with the same pattern-loop state.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "music/module_player.h"

struct PassCounter {
    long passesLeft = 0;  // further passes to play after the first
    std::unordered_set<std::string> seen;
    bool ended = false;   // the render stopped where the next pass would begin
    std::int32_t endOrder = 0, endRow = 0;
};

// Installs the counter as the player's row watch.
void watch_passes(music::ModulePlayer& player, PassCounter& counter);
