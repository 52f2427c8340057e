// The song's instruments: synthesised samples with their envelopes,
// auto-vibrato and mix levels.
#pragma once

#include "tools/xm_writer/xm_writer.h"

#include <cstdint>
#include <vector>

// Instrument numbers as the patterns name them (1-based).
enum Instrument : uint8_t {
    KICK = 1,
    SNARE,
    HAT,
    BASS,
    PAD,
    PLUCK,
    BELL,
    LEAD,
    SHIMMER,
};

std::vector<XmInstrument> whitepine_instruments();
