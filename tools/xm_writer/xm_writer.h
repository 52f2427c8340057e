// Builds Extended Module (XM) files from plain data: the song composer writes
// the demo's music with it, and tests build small modules in code.
//
// Every field is written as given, so odd files are as easy to make as proper
// ones. A few optional fields replace values the writer would otherwise derive
// (counts, sizes, lengths) so that inconsistent files can be made on purpose.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr uint8_t XM_KEY_OFF = 97;

// Volume and panning envelope type bits.
inline constexpr uint8_t XM_ENVELOPE_ON = 1;
inline constexpr uint8_t XM_ENVELOPE_SUSTAIN = 2;
inline constexpr uint8_t XM_ENVELOPE_LOOP = 4;

// Sample loop types.
inline constexpr uint8_t XM_LOOP_NONE = 0;
inline constexpr uint8_t XM_LOOP_FORWARD = 1;
inline constexpr uint8_t XM_LOOP_PINGPONG = 2;

struct XmCell {
    uint8_t note = 0;  // 0 none, 1..96 C-0..B-7, XM_KEY_OFF
    uint8_t instrument = 0;
    uint8_t volume = 0;  // volume column
    uint8_t effect = 0;
    uint8_t param = 0;
};

struct XmPattern {
    uint16_t rows = 64;
    // rows x channels cells, row by row. Empty: the pattern is stored with
    // packed size 0 and no cell data.
    std::vector<XmCell> cells;
    // When not empty, written instead of the packed cells, byte for byte.
    std::vector<uint8_t> rawPacked;
    std::optional<uint16_t> packedSizeField;
    std::optional<uint32_t> headerLengthField;  // default 9
};

struct XmEnvelopePoint {
    uint16_t tick = 0;
    uint16_t value = 0;
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points;  // at most 12 are written
    uint8_t sustain = 0;
    uint8_t loopStart = 0;
    uint8_t loopEnd = 0;
    uint8_t type = 0;  // XM_ENVELOPE_* bits
    std::optional<uint8_t> pointCountField;
};

struct XmSample {
    // Sample values. An 8-bit sample keeps each value's low 8 bits.
    std::vector<int16_t> pcm;
    bool sixteenBit = false;
    uint8_t loopType = XM_LOOP_NONE;
    uint32_t loopStart = 0;   // in samples
    uint32_t loopLength = 0;  // in samples
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
    uint8_t packing = 0;  // 0xAD marks 4-bit packed data (give it in rawData)
    std::string name;
    // When not empty, written instead of the delta-encoded pcm, byte for byte.
    std::vector<uint8_t> rawData;
    std::optional<uint32_t> lengthField;  // in bytes; default: the data written
    std::optional<uint8_t> typeField;     // default: loop type | 0x10 when 16-bit
};

struct XmInstrument {
    std::string name;
    uint8_t type = 0;
    std::vector<XmSample> samples;  // at most 16 in a proper file
    std::array<uint8_t, 96> sampleMap{};
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    uint8_t vibratoType = 0;
    uint8_t vibratoSweep = 0;
    uint8_t vibratoDepth = 0;
    uint8_t vibratoRate = 0;
    uint16_t fadeout = 0;
    // Default 263 with samples, 29 without. The header is cut or zero-padded
    // to this length.
    std::optional<uint32_t> headerSizeField;
    uint32_t sampleHeaderSize = 40;  // each sample header is cut or padded to it
    std::optional<uint16_t> sampleCountField;
};

struct XmModule {
    std::string name;
    std::string tracker = "compose_song";
    uint16_t version = 0x0104;
    // Bytes from offset 60 to the first pattern; the order table is cut or
    // zero-padded to headerSize - 20 bytes.
    uint32_t headerSize = 276;
    uint16_t restart = 0;
    uint16_t channels = 8;
    uint16_t flags = 1;  // bit 0: linear frequency table
    uint16_t tempo = 6;
    uint16_t bpm = 125;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
    std::optional<uint16_t> songLengthField;
    std::optional<uint16_t> patternCountField;
    std::optional<uint16_t> instrumentCountField;
};

// The packed cell bytes of one pattern (rows x channels cells).
std::vector<uint8_t> xm_pack_cells(const std::vector<XmCell>& cells);

// Delta-encoded sample bytes: 8-bit or 16-bit little-endian.
std::vector<uint8_t> xm_encode_sample(const std::vector<int16_t>& pcm, bool sixteenBit);

// The whole module file. Throws std::length_error for a pattern whose packed
// cells exceed the 16-bit size field (unless packedSizeField is given).
std::vector<uint8_t> xm_write(const XmModule& module);
