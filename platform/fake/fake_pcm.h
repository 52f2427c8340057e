// Test controls for the fake sound device: it plays nothing, and its play
// position moves only when a test moves it.
#pragma once

#include <cstdint>

namespace platform::fake {

// Forgets the device; the next pcmOpen succeeds.
void pcmReset();

// Makes every pcmOpen fail, as on a system without sound.
void pcmRefuseOpen(bool refuse);

bool pcmIsOpen();
// Opens since the last pcmReset.
unsigned pcmOpenCount();

// The buffer handed to pcmStart, or null when none plays.
const std::int16_t* pcmBuffer();

// Moves the play position to `bytes` played since the start, then waits
// until the player has read it twice (it reads the position again only once
// its fill has caught up). False when nobody read it within a few seconds.
bool pcmPlayTo(std::uint32_t bytes);

}  // namespace platform::fake
