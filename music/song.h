// The song model: patterns of cells, instruments with their envelopes,
// samples decoded to 16 bits, and the per-channel and per-voice state the
// sequencer and the mixer share.
#pragma once

#include <cstdint>

namespace music {

// Update flags: what the sequencer changed on a channel this tick, for
// update_voice to carry into the channel's voice.
inline constexpr std::uint8_t UPDATE_FREQUENCY = 1;
inline constexpr std::uint8_t UPDATE_VOLUME = 2;
inline constexpr std::uint8_t UPDATE_PANNING = 4;
inline constexpr std::uint8_t UPDATE_TRIGGER = 8;

inline constexpr int MAX_CHANNELS = 64;
inline constexpr int MAX_ORDERS = 256;
inline constexpr int MAX_ENVELOPE_POINTS = 12;
inline constexpr std::uint16_t MAX_ENVELOPE_VALUE = 32767;
inline constexpr int SAMPLES_PER_INSTRUMENT = 16;
inline constexpr int NOTE_COUNT = 96;  // C-0 .. B-7
inline constexpr std::uint8_t NOTE_KEY_OFF = 97;  // this and above release the note

// Envelope type bits.
inline constexpr std::uint8_t ENVELOPE_ON = 1;
inline constexpr std::uint8_t ENVELOPE_SUSTAIN = 2;
inline constexpr std::uint8_t ENVELOPE_LOOP = 4;

// Sample loop types.
inline constexpr std::uint8_t LOOP_NONE = 0;
inline constexpr std::uint8_t LOOP_FORWARD = 1;
inline constexpr std::uint8_t LOOP_PINGPONG = 2;

struct Cell {
    std::uint8_t note;        // 0 none, 1..96 C-0..B-7, 97 and above key off
    std::uint8_t instrument;  // 0 none, 1..instrument count
    std::uint8_t volume;      // volume column
    std::uint8_t effect;      // 0..35 (0-9, A-Z)
    std::uint8_t parameter;
};

struct Pattern {
    std::uint16_t rows;
    std::uint16_t packedSize;  // as stored; 0 means the pattern has no cells
    Cell* cells;               // rows x channels, row-major; null when packedSize was 0
};

struct Sample {
    std::uint32_t length;      // in samples
    std::uint32_t loopStart;   // in samples
    std::uint32_t loopLength;  // in samples; equals length when unlooped
    std::uint8_t volume;       // default volume 0..64
    std::int8_t finetune;
    std::uint8_t is16Bit;
    std::uint8_t panning;      // default panning 0..255
    std::int8_t relativeNote;
    std::uint8_t packing;      // 0xAD: 4-bit packed in the file
    std::uint8_t loopType;     // LOOP_NONE, LOOP_FORWARD, LOOP_PINGPONG (3 plays as none)
    // length values, then room for three more: the value at loop end is the
    // interpolation partner of the last looped value, the rest stay 0, so the
    // mixer never reads outside the data.
    std::int16_t* data;
};

// The sample every failed lookup lands on: silent, length 0.
extern Sample emptySample;

struct EnvelopePoint {
    std::uint16_t tick;
    std::uint16_t value;
};

struct Envelope {
    EnvelopePoint points[MAX_ENVELOPE_POINTS];
    std::uint8_t count;
    std::uint8_t sustain;
    std::uint8_t loopStart;
    std::uint8_t loopEnd;
    std::uint8_t type;  // ENVELOPE_ON | ENVELOPE_SUSTAIN | ENVELOPE_LOOP
};

struct Instrument {
    Sample* samples[SAMPLES_PER_INSTRUMENT];  // null beyond the instrument's samples
    std::uint8_t sampleMap[NOTE_COUNT];       // note -> sample number; 16 and above: none
    Envelope volumeEnvelope;
    Envelope panningEnvelope;
    std::uint8_t vibratoType;
    std::uint8_t vibratoSweep;
    std::uint8_t vibratoDepth;
    std::uint8_t vibratoRate;
    std::uint16_t fadeout;  // twice the stored value
};

// What the mixer plays: two per channel, so that a note cut by a new one can
// fade out on the partner voice while the new one fades in.
struct Voice {
    std::uint32_t volume;       // 0..127 (more from envelope values above 64)
    std::uint32_t panning;      // 0..255
    std::uint32_t startOffset;  // where the next start begins (9xx)
    std::uint32_t rightTarget;  // volume * panning / 255
    std::uint32_t leftTarget;   // volume * (255 - panning) / 255
    std::int32_t position;      // integer part of the 32.32 position, in samples
    std::uint32_t stepFraction;
    std::int32_t stepInteger;
    std::uint32_t rampKey;      // leftTarget << 16 | rightTarget when the ramp was set
    std::int32_t rightRampStep;
    std::int32_t leftRampStep;
    const Sample* sample;       // null: silent
    std::uint32_t positionFraction;
    std::int32_t rightLevel;    // current gain, target x 128 when settled
    std::int32_t leftLevel;
    std::uint16_t rampFramesLeft;
    std::uint8_t direction;     // 0 forward, 1 backward (ping-pong)
};

// Per-envelope running state of a channel.
struct EnvelopeState {
    std::int32_t tick;
    std::int32_t point;        // index of the next point
    std::int32_t slope;        // 16.16 per tick
    std::int32_t accumulator;  // 16.16
    std::int32_t value;        // envelope volume 0..64, or envelope panning 0..64 (32 centre)
    std::uint8_t ended;
};

struct Channel {
    std::uint8_t note;          // latched note 0..95
    std::uint8_t updateFlags;
    std::uint8_t instrument;    // latched, 0-based
    Voice* voice;               // the current voice of the pair
    std::int32_t period;
    std::int32_t volume;        // 0..64 by intent; slides do not clamp it
    std::int32_t volumeOffset;  // tremolo and tremor, this tick only
    std::int32_t periodOffset;  // arpeggio, vibrato and auto-vibrato, this tick only
    std::int32_t panning;       // 0..255, 128 centre
    EnvelopeState volumeEnvelope;
    EnvelopeState panningEnvelope;
    std::int32_t vibratoSweep;  // auto-vibrato sweep counter
    std::uint32_t vibratoPhase; // auto-vibrato phase 0..255
    std::uint8_t keyOff;        // nonzero once the note is released
    std::int32_t fadeVolume;    // 0..65536
    std::int32_t notePeriod;    // period of the last note read
    std::uint32_t sampleOffset; // last 9xx parameter x 256
    std::int32_t portaTarget;
    std::uint8_t loopCounter;   // E6y
    std::uint32_t loopRow;
    std::uint8_t realNote;      // note + relative note, as a byte
    std::uint8_t lastEffect;
    std::uint8_t portaMemory;         // 1xx, 2xx
    std::uint8_t extraFineDownMemory; // X2y
    std::uint8_t extraFineUpMemory;   // X1y
    std::uint8_t volumeSlideMemory;   // Axy, 5xy, 6xy
    std::uint8_t panningSlideMemory;  // Pxy
    std::uint8_t retriggerVolume;     // Rxy: x
    std::uint8_t retriggerInterval;   // Rxy: y
    std::uint8_t portaSpeed;
    std::uint8_t vibratoPosition, vibratoSpeed, vibratoDepth;
    std::uint8_t tremoloPosition, tremoloSpeed, tremoloDepth;
    std::uint8_t tremorCounter, tremorOn, tremorOff;
    std::uint8_t waveforms;           // low nibble vibrato, high nibble tremolo
    std::int8_t fineVolumeMemory;     // -y after EAy, +y after EBy
    std::uint8_t finePortaUpMemory;   // E1y
    std::uint8_t finePortaDownMemory; // E2y
};

// A loaded module. Everything it points to lives in the player's heap.
struct Song {
    Pattern* patterns;
    Instrument* instruments;     // at least one entry: an empty instrument when the file has none
    Voice* voices;               // 2 x channelCount
    Channel* channels;           // channelCount
    std::int32_t channelCount;
    std::uint16_t length;        // orders in use, 1..256
    std::uint16_t restartPosition;
    std::uint16_t patternCount;  // entries of the pattern table
    std::uint16_t storedPatterns;
    std::uint16_t instrumentCount;  // as stored
    std::uint16_t flags;         // bit 0: linear frequency table
    std::uint16_t tempo;
    std::uint16_t bpm;
    std::uint8_t orders[MAX_ORDERS];
    char name[21];
};

inline constexpr std::uint16_t SONG_LINEAR_PERIODS = 1;

}  // namespace music
