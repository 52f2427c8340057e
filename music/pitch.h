// Per-channel arithmetic of every tick: note periods, frequencies, envelopes,
// auto-vibrato, and the hand-over of a channel's state to its voice.
#pragma once

#include <cstdint>

#include "music/module_player.h"

namespace music {

// Amiga period of note n (may be negative) with finetune f.
std::int32_t amiga_period(int note, int finetune);

// Period of real note n with finetune f on the song's table.
std::int32_t note_period(bool linear, int note, int finetune);

// Frequency in Hz for a period and a per-tick offset; 40 Hz when the period
// leaves nothing to play, and bounded so that the mixer's step stays below 32.
std::uint32_t period_frequency(bool linear, std::int32_t period, std::int32_t offset);

enum class EnvelopeKind { Volume, Panning };

// Advances the channel's volume or panning envelope by one tick.
void step_envelope(Channel& channel, const Instrument& instrument, EnvelopeKind kind);

// Moves the channel's period, volume, panning and update flags into its voice.
void update_voice(Channel& channel, const Sample& sample, const Instrument& instrument, const ModulePlayer& player);

}  // namespace music
