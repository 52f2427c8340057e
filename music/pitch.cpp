#include "music/pitch.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstddef>

namespace music {
namespace {

constexpr std::uint32_t OUTPUT_RATE = platform::PCM_RATE;
constexpr std::uint32_t MIN_FREQUENCY = 40;
// The mixer counts frames to a loop end with steps below 32 samples per frame.
constexpr std::uint32_t MAX_FREQUENCY = 32 * OUTPUT_RATE - 1;
constexpr std::uint32_t AMIGA_CLOCK = 14317456;
constexpr std::int32_t MAX_VOLUME_PRODUCT = 255 * 64 * 64;

// round(64 * sin(pi * j / 128)), j = 0..64: a quarter of the auto-vibrato sine.
constexpr std::uint8_t QUARTER_SINE[65] = {
    0,  2,  3,  5,  6,  8,  9,  11, 12, 14, 16, 17, 19, 20, 22, 23, 24, 26, 27, 29, 30, 32,
    33, 34, 36, 37, 38, 39, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55,
    56, 56, 57, 58, 59, 59, 60, 60, 61, 61, 62, 62, 62, 63, 63, 63, 64, 64, 64, 64, 64, 64};

// The single-precision constants the pitch formulas scale by.
float float_from_bits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
const double ONE_TWELFTH = float_from_bits(0x3DAAAAAB);
const double ONE_768TH = float_from_bits(0x3AAAAAAB);

std::int32_t amiga_table(int k) {
    return static_cast<std::int32_t>(std::nearbyint(13.375 * std::exp2((132 - k) * ONE_TWELFTH)));
}

int auto_vibrato_wave(std::uint8_t type, std::uint32_t phase) {
    switch (type) {
    case 0: {
        std::uint32_t j = phase % 128;
        int v = QUARTER_SINE[j <= 64 ? j : 128 - j];
        return phase >= 128 ? -v : v;
    }
    case 1: return phase < 128 ? 64 : -64;
    case 2: return (128 - static_cast<int>((phase + 128) % 256)) >> 1;
    default: return (128 - static_cast<int>((128 - phase) % 256)) >> 1;
    }
}

void auto_vibrato(Channel& channel, const Instrument& instrument) {
    std::int32_t d = instrument.vibratoDepth * auto_vibrato_wave(instrument.vibratoType, channel.vibratoPhase);
    if (instrument.vibratoSweep != 0) d = channel.vibratoSweep * d / instrument.vibratoSweep;
    channel.periodOffset += d >> 6;
    channel.vibratoSweep = std::min<std::uint32_t>(channel.vibratoSweep + 1u, instrument.vibratoSweep);
    channel.vibratoPhase = (channel.vibratoPhase + instrument.vibratoRate) % 256;
    channel.updateFlags |= UPDATE_FREQUENCY;
}

// A new note on a sounding voice: the old sound moves on to fade out on the
// partner voice; the current voice starts the new sample from level 0.
void trigger(Channel& channel, const Sample& sample, Voice* voices) {
    Voice* voice = channel.voice;
    if (voice->sample) {
        Voice* partner = voices + ((voice - voices) ^ 1);
        partner->volume = voice->volume;
        partner->panning = voice->panning;
        partner->startOffset = voice->startOffset;
        partner->rightTarget = voice->rightTarget;
        partner->leftTarget = voice->leftTarget;
        partner->position = voice->position;
        partner->stepFraction = voice->stepFraction;
        partner->stepInteger = voice->stepInteger;
        partner->rampKey = voice->rampKey;
        partner->rightRampStep = voice->rightRampStep;
        partner->leftRampStep = voice->leftRampStep;
        voice->volume = 0;
        voice->rightTarget = 0;
        voice->leftTarget = 0;
        channel.voice = voice = partner;
    }
    voice->sample = &sample;
    voice->positionFraction = 0;
    voice->rightLevel = 0;
    voice->leftLevel = 0;
    voice->rampFramesLeft = 0;
    voice->direction = 0;
    voice->position = static_cast<std::int32_t>(voice->startOffset);
    voice->startOffset = 0;
}

// A replaced note that has faded to nothing adds only zeros from then on, and
// nothing but the next new note (which overwrites it) touches its voice
// again: it stops, so that the mixer does not resample silence.
void stop_if_faded(Voice& voice) {
    if (voice.leftLevel == 0 && voice.rightLevel == 0 && voice.leftTarget == 0 && voice.rightTarget == 0)
        voice.sample = nullptr;
}

void set_targets(Voice& voice) {
    voice.rightTarget = voice.volume * voice.panning / 255;
    voice.leftTarget = voice.volume * (255 - voice.panning) / 255;
}

}  // namespace

std::int32_t amiga_period(int note, int finetune) {
    std::int32_t period = amiga_table(note);
    if (finetune == 0) return period;
    std::int32_t neighbour = amiga_table(finetune > 0 ? note + 1 : note - 1);
    return period + std::abs(finetune) * (neighbour - period) / 128;
}

std::int32_t note_period(bool linear, int note, int finetune) {
    if (!linear) return amiga_period(note, finetune);
    return 7680 - 64 * note - finetune / 2;
}

std::uint32_t period_frequency(bool linear, std::int32_t period, std::int32_t offset) {
    const std::int64_t q = std::int64_t{period} + offset;
    if (q <= 0) return MIN_FREQUENCY;
    double frequency;
    if (linear) {
        const double x = static_cast<double>(4608 - std::int64_t{period} + offset);
        frequency = std::nearbyint(8363.0 * std::exp2(x * ONE_768TH));
    } else {
        frequency = static_cast<double>(AMIGA_CLOCK / static_cast<std::uint64_t>(q));
    }
    return frequency >= MAX_FREQUENCY ? MAX_FREQUENCY : static_cast<std::uint32_t>(frequency);
}

void step_envelope(Channel& channel, const Instrument& instrument, EnvelopeKind kind) {
    const bool volume = kind == EnvelopeKind::Volume;
    const Envelope& envelope = volume ? instrument.volumeEnvelope : instrument.panningEnvelope;
    EnvelopeState& state = volume ? channel.volumeEnvelope : channel.panningEnvelope;
    channel.updateFlags |= volume ? UPDATE_VOLUME : UPDATE_PANNING;
    if (state.ended) return;
    const int count = envelope.count;
    if (state.point < count) {
        if (state.tick != envelope.points[state.point].tick) {
            state.accumulator += state.slope;
        } else {
            if ((envelope.type & ENVELOPE_LOOP) && state.point == envelope.loopEnd) {
                state.point = envelope.loopStart;
                state.tick = envelope.points[state.point].tick;
            }
            const EnvelopePoint& here = envelope.points[state.point];
            state.value = here.value;
            if (state.point == count - 1) {
                state.ended = 1;
                return;
            }
            if ((envelope.type & ENVELOPE_SUSTAIN) && state.point == envelope.sustain && !channel.keyOff) return;
            const EnvelopePoint& next = envelope.points[state.point + 1];
            state.accumulator = here.value * 65536;
            state.slope = next.tick == here.tick ? 0 : (next.value - here.value) * 65536 / (next.tick - here.tick);
            ++state.point;
        }
    }
    ++state.tick;
    state.value = state.accumulator >> 16;
}

void update_voice(Channel& channel, const Sample& sample, const Instrument& instrument, const ModulePlayer& player) {
    auto_vibrato(channel, instrument);
    Voice* voices = player.song.voices;
    if (channel.updateFlags & UPDATE_TRIGGER) trigger(channel, sample, voices);
    Voice& voice = *channel.voice;
    stop_if_faded(voices[(channel.voice - voices) ^ 1]);
    if (channel.updateFlags & UPDATE_VOLUME) {
        std::int64_t a = (std::int64_t{channel.volume} + channel.volumeOffset) * 255 * player.globalVolume;
        a = a < 0 ? 0 : (a > MAX_VOLUME_PRODUCT ? MAX_VOLUME_PRODUCT : a);
        const std::uint32_t withEnvelope = static_cast<std::uint32_t>(a * channel.volumeEnvelope.value);
        voice.volume = static_cast<std::uint32_t>(
            (std::uint64_t{withEnvelope} * static_cast<std::uint32_t>(channel.fadeVolume)) >> 35);
        set_targets(voice);
    }
    if (channel.updateFlags & UPDATE_PANNING) {
        const std::int32_t room = (128 - std::abs(channel.panning - 128)) >> 5;
        std::int64_t p = channel.panning + std::int64_t{channel.panningEnvelope.value - 32} * room;
        voice.panning = static_cast<std::uint32_t>(p < 0 ? 0 : (p >= 255 ? 255 : p));
        set_targets(voice);
    }
    if (channel.updateFlags & UPDATE_FREQUENCY) {
        const std::uint32_t frequency =
            period_frequency(player.song.flags & SONG_LINEAR_PERIODS, channel.period, channel.periodOffset);
        voice.stepInteger = static_cast<std::int32_t>(frequency / OUTPUT_RATE);
        voice.stepFraction = static_cast<std::uint32_t>((std::uint64_t{frequency % OUTPUT_RATE} << 32) / OUTPUT_RATE);
    }
}

}  // namespace music
