// Writing music into patterns: note names, a row grid, and phrases written as
// one token per row.
#pragma once

#include "tools/xm_writer/xm_writer.h"

#include <cstdint>
#include <string_view>
#include <vector>

// XM effect numbers used by the song.
enum Effect : uint8_t {
    ARPEGGIO = 0x0,
    PORTA_UP = 0x1,
    PORTA_DOWN = 0x2,
    TONE_PORTA = 0x3,
    VIBRATO = 0x4,
    SET_PANNING = 0x8,
    VOLUME_SLIDE = 0xA,
    PATTERN_BREAK = 0xD,
    EXTENDED = 0xE,
    SPEED_OR_BPM = 0xF,
};

// Volume column: set volume 0..64.
constexpr uint8_t vol(int volume) { return static_cast<uint8_t>(0x10 + volume); }

// "C4", "F#5", "Bb3" to an XM note number (C-0 = 1); aborts on a bad name.
uint8_t note(std::string_view name);

struct PatternGrid {
    int rows;
    int channels;
    std::vector<XmCell> cells;

    PatternGrid(int rowCount, int channelCount);
    XmCell& at(int row, int channel);
    XmPattern pattern() const;
};

// How a phrase's tokens turn into effects.
struct PhraseStyle {
    uint8_t instrument;
    uint8_t volume = 0;        // volume column on each note; 0 keeps the default
    uint8_t slideSpeed = 0x20;  // tone portamento speed
    uint8_t vibrato = 0x64;    // vibrato speed and depth
    uint8_t fall = 0x08;       // portamento down speed
    uint8_t fade = 0x04;       // volume slide down speed
};

// Tokens, one per row from `firstRow`, separated by spaces ('|' is ignored):
//   .     nothing              C5    note             C5~   note with vibrato
//   C5/   slide to the note    ~     vibrato          ^     key off
//   \     fall in pitch        >     fade out
// Returns the number of rows the phrase covers.
int write_phrase(PatternGrid& grid, int channel, int firstRow, const PhraseStyle& style, std::string_view text);
