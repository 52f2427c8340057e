// Walks the song tick by tick: rows, orders, the volume column and effects.
#include <algorithm>
#include <utility>

#include "music/module_player.h"
#include "music/pitch.h"

namespace music {
namespace {

// Effect numbers as stored in a cell: 0-9, then A-Z from 10.
enum Effect : std::uint8_t {
    ARPEGGIO = 0, PORTA_UP = 1, PORTA_DOWN = 2, TONE_PORTA = 3, VIBRATO = 4, TONE_PORTA_SLIDE = 5,
    VIBRATO_SLIDE = 6, TREMOLO = 7, SET_PANNING = 8, SAMPLE_OFFSET = 9, VOLUME_SLIDE = 10,
    POSITION_JUMP = 11, SET_VOLUME = 12, PATTERN_BREAK = 13, EXTENDED = 14, SET_SPEED = 15,
    SET_GLOBAL_VOLUME = 16, GLOBAL_VOLUME_SLIDE = 17, KEY_OFF = 20, ENVELOPE_POSITION = 21,
    PANNING_SLIDE = 25, MULTI_RETRIGGER = 27, TREMOR = 29, EXTRA_FINE_PORTA = 33,
};

enum Extended : std::uint8_t {
    FINE_PORTA_UP = 1, FINE_PORTA_DOWN = 2, VIBRATO_WAVEFORM = 4, SET_FINETUNE = 5, PATTERN_LOOP = 6,
    TREMOLO_WAVEFORM = 7, SET_PANNING_FINE = 8, RETRIGGER = 9, FINE_VOLUME_UP = 10, FINE_VOLUME_DOWN = 11,
    NOTE_CUT = 12, NOTE_DELAY = 13, PATTERN_DELAY = 14,
};

// round(127 * sin(pi * i / 32)): half a period of the vibrato and tremolo sine.
constexpr std::uint8_t HALF_SINE[32] = {0,   12,  25,  37,  49,  60,  71,  81,  90,  98,  106,
                                        112, 117, 122, 125, 126, 127, 126, 125, 122, 117, 112,
                                        106, 98,  90,  81,  71,  60,  49,  37,  25,  12};

// Periods stay within this range whatever the slides do, so that nothing
// overflows however long a song slides; at these bounds a note is inaudible.
constexpr std::int32_t PERIOD_LIMIT = 1 << 24;

std::uint8_t high(std::uint8_t value) { return static_cast<std::uint8_t>(value >> 4); }
std::uint8_t low(std::uint8_t value) { return static_cast<std::uint8_t>(value & 15); }

std::int32_t waveform_value(std::uint8_t position, std::uint8_t waveform, std::uint8_t depth) {
    int value;
    if (waveform == 0) {
        value = HALF_SINE[position % 32];
        if (position >= 32) value = -value;
    } else if (waveform == 1) {
        value = 127 - position * 254 / 63;  // a ramp falling through 0 at position 32
    } else {
        value = position < 32 ? 127 : -127;
    }
    return (value * depth) >> 5;
}

std::int32_t bounded_period(std::int64_t period, std::int64_t lowest) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(period, lowest, PERIOD_LIMIT));
}

struct RowContext {
    ModulePlayer& player;
    Channel& channel;
    const Cell& cell;
    const Instrument& instrument;
    Sample& sample;
    bool linear() const { return player.song.flags & SONG_LINEAR_PERIODS; }
};

const Pattern& current_pattern(const ModulePlayer& player) {
    return player.song.patterns[player.song.orders[player.order]];
}

const Instrument& channel_instrument(const ModulePlayer& player, const Channel& channel) {
    return player.song.instruments[channel.instrument];
}

Sample& channel_sample(const Instrument& instrument, const Channel& channel) {
    std::uint8_t number = instrument.sampleMap[channel.note];
    if (number < SAMPLES_PER_INSTRUMENT && instrument.samples[number]) return *instrument.samples[number];
    return emptySample;
}

void release(Channel& channel) {
    if (channel.keyOff < 255) ++channel.keyOff;
}

void fade(Channel& channel, const Instrument& instrument) {
    channel.fadeVolume = std::max(0, channel.fadeVolume - instrument.fadeout);
}

void restart_envelope(EnvelopeState& envelope) {
    envelope.tick = 0;
    envelope.point = 0;
    envelope.slope = 0;
    envelope.ended = 0;
}

// A new instrument or a delayed note starts envelopes, auto-vibrato and the
// waveforms that are not set to run on, and takes the key back.
void restart_modulation(Channel& channel) {
    restart_envelope(channel.volumeEnvelope);
    restart_envelope(channel.panningEnvelope);
    channel.vibratoSweep = 0;
    channel.vibratoPhase = 0;
    channel.keyOff = 0;
    if (high(channel.waveforms) < 4) channel.tremoloPosition = 0;
    if (low(channel.waveforms) < 4) channel.vibratoPosition = 0;
}

void volume_slide(Channel& channel) {
    std::uint8_t memory = channel.volumeSlideMemory;
    if (high(memory)) channel.volume += high(memory);
    else channel.volume -= low(memory);
    channel.updateFlags |= UPDATE_VOLUME;
}

void tone_porta_step(Channel& channel) {
    channel.updateFlags |= UPDATE_FREQUENCY;
    const std::int64_t distance = std::int64_t{channel.period} - channel.portaTarget;
    const std::int64_t speed = 4 * channel.portaSpeed;
    if (distance > 0) channel.period = distance - speed < 0 ? channel.portaTarget : channel.period - static_cast<std::int32_t>(speed);
    else channel.period = distance + speed > 0 ? channel.portaTarget : channel.period + static_cast<std::int32_t>(speed);
}

void vibrato_step(Channel& channel) {
    std::int32_t value = waveform_value(channel.vibratoPosition, low(channel.waveforms) & 3, channel.vibratoDepth);
    channel.vibratoPosition = static_cast<std::uint8_t>((channel.vibratoPosition + channel.vibratoSpeed) % 64);
    channel.periodOffset = value >> 1;
    channel.updateFlags |= UPDATE_FREQUENCY;
}

void tremolo_step(Channel& channel) {
    std::int32_t value = waveform_value(channel.tremoloPosition, high(channel.waveforms) & 3, channel.tremoloDepth);
    channel.tremoloPosition = static_cast<std::uint8_t>((channel.tremoloPosition + channel.tremoloSpeed) % 64);
    channel.volumeOffset = value;
    channel.updateFlags |= UPDATE_VOLUME;
}

void tremor_step(Channel& channel) {
    channel.updateFlags |= UPDATE_VOLUME;
    const std::uint8_t counter = channel.tremorCounter;
    if (counter > channel.tremorOn) channel.volumeOffset = -channel.volume;
    const auto cycle = static_cast<std::uint8_t>(channel.tremorOn + channel.tremorOff);
    channel.tremorCounter = counter > cycle ? 0 : static_cast<std::uint8_t>(counter + 1);
}

// Rxy's volume change x; the result is bounded only so that repeated
// doubling cannot overflow.
std::int32_t retrigger_volume(std::int32_t volume, std::uint8_t change) {
    std::int64_t v = volume;
    switch (change) {
    case 1: v -= 1; break;
    case 2: v -= 2; break;
    case 3: v -= 4; break;
    case 4: v -= 8; break;
    case 5: v -= 16; break;
    case 6: v = v * 2 / 3; break;
    case 7: v >>= 1; break;
    case 9: v += 1; break;
    case 10: v += 2; break;
    case 11: v += 4; break;
    case 12: v += 8; break;
    case 13: v += 16; break;
    case 14: v = (v * 3) >> 1; break;
    case 15: v *= 2; break;
    default: break;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -PERIOD_LIMIT, PERIOD_LIMIT));
}

// Lxx: puts the volume envelope at tick t.
void set_envelope_position(Channel& channel, const Envelope& envelope, std::int32_t t) {
    EnvelopeState& state = channel.volumeEnvelope;
    const int count = envelope.count;
    const EnvelopePoint* points = envelope.points;
    int k = 0;
    while (k < count - 1 && t > points[k + 1].tick) ++k;
    if (k >= count - 1) {
        state.point = k;
        state.ended = 1;
        state.value = points[count - 1].value;
        return;
    }
    const EnvelopePoint& here = points[k];
    const EnvelopePoint& next = points[k + 1];
    state.ended = 0;
    state.tick = t;
    state.slope = next.tick == here.tick ? 0 : (next.value - here.value) * 65536 / (next.tick - here.tick);
    state.accumulator = here.value * 65536 + (t - here.tick) * state.slope;
    state.value = state.accumulator >> 16;
    state.point = k + 1;
}

void volume_column_row(RowContext& row) {
    Channel& channel = row.channel;
    const std::uint8_t value = row.cell.volume;
    const std::uint8_t y = low(value);
    if (value >= 0x10 && value <= 0x50) {
        channel.volume = value - 0x10;
        return;
    }
    switch (high(value)) {
    case 0x6: case 0x8: channel.volume -= y; break;
    case 0x7: case 0x9: channel.volume += y; break;
    case 0xA: channel.vibratoSpeed = y; break;
    case 0xB: channel.vibratoDepth = y; break;
    case 0xC: channel.panning = y * 16; channel.updateFlags |= UPDATE_PANNING; break;
    case 0xD: channel.panning -= y; channel.updateFlags |= UPDATE_PANNING; break;
    case 0xE: channel.panning += y; channel.updateFlags |= UPDATE_PANNING; break;
    case 0xF:
        if (y) channel.portaSpeed = static_cast<std::uint8_t>(y * 16);
        channel.updateFlags &= static_cast<std::uint8_t>(~UPDATE_TRIGGER);
        channel.portaTarget = channel.notePeriod;
        break;
    default: break;
    }
}

void volume_column_tick(RowContext& row) {
    Channel& channel = row.channel;
    const std::uint8_t y = low(row.cell.volume);
    switch (high(row.cell.volume)) {
    case 0x6: channel.volume -= y; channel.updateFlags |= UPDATE_VOLUME; break;
    case 0x7: channel.volume += y; channel.updateFlags |= UPDATE_VOLUME; break;
    case 0xB: channel.vibratoDepth = y; vibrato_step(channel); break;
    case 0xD: channel.panning -= y; channel.updateFlags |= UPDATE_PANNING; break;
    case 0xE: channel.panning += y; channel.updateFlags |= UPDATE_PANNING; break;
    case 0xF: tone_porta_step(channel); break;
    default: break;
    }
}

void start_delayed_note(RowContext& row) {
    Channel& channel = row.channel;
    channel.fadeVolume = 65536;
    channel.volume = row.sample.volume;
    channel.volumeEnvelope.value = channel.volumeEnvelope.value > 9 ? 64 : 0;
    restart_modulation(channel);
    channel.period = channel.notePeriod;
    channel.updateFlags |= UPDATE_TRIGGER | UPDATE_VOLUME | UPDATE_FREQUENCY;
    volume_column_row(row);
}

void extended_row(RowContext& row) {
    ModulePlayer& player = row.player;
    Channel& channel = row.channel;
    const std::uint8_t y = low(row.cell.parameter);
    switch (high(row.cell.parameter)) {
    case FINE_PORTA_UP:
        if (y) channel.finePortaUpMemory = y;
        channel.period = bounded_period(std::int64_t{channel.period} - 4 * channel.finePortaUpMemory, -PERIOD_LIMIT);
        break;
    case FINE_PORTA_DOWN:
        if (y) channel.finePortaDownMemory = y;
        channel.period = bounded_period(std::int64_t{channel.period} + 4 * channel.finePortaDownMemory, -PERIOD_LIMIT);
        break;
    case VIBRATO_WAVEFORM: channel.waveforms = static_cast<std::uint8_t>((channel.waveforms & 0xF0) | y); break;
    case SET_FINETUNE:
        // The sample keeps it for every later note; the shared silent sample stays as it is.
        if (&row.sample != &emptySample) row.sample.finetune = static_cast<std::int8_t>(y);
        break;
    case PATTERN_LOOP:
        if (y == 0) {
            channel.loopRow = static_cast<std::uint32_t>(player.row);
            break;
        }
        channel.loopCounter = channel.loopCounter == 0 ? y : static_cast<std::uint8_t>(channel.loopCounter - 1);
        if (channel.loopCounter) player.nextRow = static_cast<std::int32_t>(channel.loopRow);
        break;
    case TREMOLO_WAVEFORM: channel.waveforms = static_cast<std::uint8_t>((channel.waveforms & 0x0F) | y << 4); break;
    case SET_PANNING_FINE: channel.panning = y * 16; channel.updateFlags |= UPDATE_PANNING; break;
    case FINE_VOLUME_UP:
        if (y) channel.fineVolumeMemory = static_cast<std::int8_t>(-y);
        channel.volume -= channel.fineVolumeMemory;
        break;
    case FINE_VOLUME_DOWN:
        if (y) channel.fineVolumeMemory = static_cast<std::int8_t>(y);
        channel.volume -= channel.fineVolumeMemory;
        break;
    case PATTERN_DELAY: player.extraTicks = y * player.speed; break;
    default: break;
    }
}

// Tick 0 of effects 1..33. `jumped` tells whether a lower channel of this row
// already jumped with B.
void effect_row(RowContext& row, std::int32_t saved[3], bool& jumped) {
    ModulePlayer& player = row.player;
    Channel& channel = row.channel;
    Voice& voice = *channel.voice;
    const std::uint8_t xy = row.cell.parameter;
    const std::uint8_t x = high(xy), y = low(xy);
    auto jump_order = [&](std::int32_t order) {
        player.nextOrder = order >= player.song.length ? 0 : order;
    };
    switch (row.cell.effect) {
    case PORTA_UP: case PORTA_DOWN:
        if (xy) channel.portaMemory = xy;
        break;
    case TONE_PORTA: case TONE_PORTA_SLIDE:
        if (xy && row.cell.effect == TONE_PORTA) channel.portaSpeed = xy;
        if (xy && row.cell.effect == TONE_PORTA_SLIDE) channel.volumeSlideMemory = xy;
        channel.portaTarget = channel.notePeriod;
        channel.updateFlags &= static_cast<std::uint8_t>(~(UPDATE_TRIGGER | UPDATE_FREQUENCY));
        break;
    case VIBRATO:
        if (x) channel.vibratoSpeed = x;
        if (y) channel.vibratoDepth = y;
        vibrato_step(channel);
        break;
    case VIBRATO_SLIDE:
        if (xy) channel.volumeSlideMemory = xy;
        vibrato_step(channel);
        break;
    case TREMOLO:
        if (x) channel.tremoloSpeed = x;
        if (y) channel.tremoloDepth = y;
        break;
    case SET_PANNING: channel.panning = xy; channel.updateFlags |= UPDATE_PANNING; break;
    case SAMPLE_OFFSET:
        if (xy) channel.sampleOffset = xy * 256u;
        if (std::uint64_t{channel.sampleOffset} >= std::uint64_t{row.sample.loopStart} + row.sample.loopLength) {
            channel.updateFlags &= static_cast<std::uint8_t>(~UPDATE_TRIGGER);
            voice.position = 0;
            voice.positionFraction = 0;
            voice.startOffset = 0;
        } else {
            voice.startOffset = channel.sampleOffset;
        }
        break;
    case VOLUME_SLIDE:
        if (xy) channel.volumeSlideMemory = xy;
        break;
    case POSITION_JUMP:
        jump_order(xy);
        player.nextRow = 0;
        jumped = true;
        break;
    case SET_VOLUME: channel.volume = xy; break;
    case PATTERN_BREAK:
        player.nextRow = 10 * x + y;
        if (!jumped) jump_order(player.order + 1);
        break;
    case EXTENDED:
        if (x == NOTE_DELAY) {
            channel.period = saved[0];
            channel.volume = saved[1];
            channel.panning = saved[2];
            channel.updateFlags = 0;
        } else {
            extended_row(row);
        }
        break;
    case SET_SPEED:
        if (xy < 0x20) player.speed = xy;
        else set_bpm(player, xy);
        break;
    case SET_GLOBAL_VOLUME: player.globalVolume = xy; break;
    case GLOBAL_VOLUME_SLIDE:
        if (xy) player.globalVolumeSlideMemory = xy;
        break;
    case ENVELOPE_POSITION:
        if (row.instrument.volumeEnvelope.type & ENVELOPE_ON) set_envelope_position(channel, row.instrument.volumeEnvelope, xy);
        break;
    case PANNING_SLIDE:
        if (xy) channel.panningSlideMemory = xy;
        channel.updateFlags |= UPDATE_PANNING;
        break;
    case MULTI_RETRIGGER:
        if (xy) {
            channel.retriggerVolume = x;
            channel.retriggerInterval = y;
        }
        break;
    case TREMOR:
        if (xy) {
            channel.tremorOn = x;
            channel.tremorOff = y;
        }
        tremor_step(channel);
        break;
    case EXTRA_FINE_PORTA:
        if (x == 1) {
            if (y) channel.extraFineUpMemory = y;
            channel.period = bounded_period(std::int64_t{channel.period} - channel.extraFineUpMemory, -PERIOD_LIMIT);
        } else if (x == 2) {
            if (y) channel.extraFineDownMemory = y;
            channel.period = bounded_period(std::int64_t{channel.period} + channel.extraFineDownMemory, -PERIOD_LIMIT);
        }
        break;
    default: break;
    }
}

// Ticks after the first of effects 0..29.
void effect_tick(RowContext& row) {
    ModulePlayer& player = row.player;
    Channel& channel = row.channel;
    const std::uint8_t xy = row.cell.parameter;
    const std::uint8_t x = high(xy), y = low(xy);
    switch (row.cell.effect) {
    case ARPEGGIO: {
        if (!xy) break;
        const int step = player.tick % 3;
        const int n = step == 0 ? 0 : (step == 1 ? x : y);
        if (row.linear()) {
            channel.periodOffset = 64 * n;
        } else {
            const int note = channel.realNote;
            channel.periodOffset = amiga_period(note + n, row.sample.finetune) - amiga_period(note, row.sample.finetune);
        }
        channel.updateFlags |= UPDATE_FREQUENCY;
        break;
    }
    case PORTA_UP: case PORTA_DOWN: {
        const std::int64_t change = 4 * channel.portaMemory;
        channel.period = bounded_period(std::int64_t{channel.period} + (row.cell.effect == PORTA_UP ? -change : change), 1);
        channel.periodOffset = 0;
        channel.updateFlags |= UPDATE_FREQUENCY;
        break;
    }
    case TONE_PORTA: tone_porta_step(channel); break;
    case VIBRATO: vibrato_step(channel); break;
    case TONE_PORTA_SLIDE: tone_porta_step(channel); volume_slide(channel); break;
    case VIBRATO_SLIDE: vibrato_step(channel); volume_slide(channel); break;
    case TREMOLO: tremolo_step(channel); break;
    case VOLUME_SLIDE: volume_slide(channel); break;
    case EXTENDED:
        if (x == RETRIGGER) {
            if (y && player.tick % y == 0) channel.updateFlags |= UPDATE_TRIGGER | UPDATE_VOLUME | UPDATE_FREQUENCY;
        } else if (x == NOTE_CUT) {
            if (player.tick == y) {
                channel.volume = 0;
                channel.updateFlags |= UPDATE_VOLUME;
            }
        } else if (x == NOTE_DELAY) {
            if (player.tick == y) start_delayed_note(row);
            else channel.updateFlags = 0;
        }
        break;
    case GLOBAL_VOLUME_SLIDE: {
        const std::uint8_t memory = player.globalVolumeSlideMemory;
        if (high(memory)) player.globalVolume += high(memory);
        else player.globalVolume -= low(memory);
        break;
    }
    case PANNING_SLIDE: {
        const std::uint8_t memory = channel.panningSlideMemory;
        if (high(memory)) channel.panning = std::min(channel.panning + high(memory), 255);
        else channel.panning = std::max(channel.panning - low(memory), 0);
        channel.updateFlags |= UPDATE_PANNING;
        break;
    }
    case MULTI_RETRIGGER:
        if (channel.retriggerInterval && player.tick % channel.retriggerInterval == 0) {
            channel.updateFlags |= UPDATE_TRIGGER;
            if (channel.retriggerVolume) {
                channel.updateFlags |= UPDATE_VOLUME;
                channel.volume = retrigger_volume(channel.volume, channel.retriggerVolume);
            }
        }
        break;
    case TREMOR: tremor_step(channel); break;
    default: break;
    }
}

void process_row(ModulePlayer& player) {
    const Pattern& pattern = current_pattern(player);
    if (!pattern.cells) return;
    const bool linear = player.song.flags & SONG_LINEAR_PERIODS;
    bool jumped = false;
    for (std::int32_t c = 0; c < player.song.channelCount; ++c) {
        Channel& channel = player.song.channels[c];
        const Cell& cell = pattern.cells[player.row * player.song.channelCount + c];
        const bool tonePorta = cell.effect == TONE_PORTA || cell.effect == TONE_PORTA_SLIDE;
        const bool hasNote = cell.note >= 1 && cell.note <= NOTE_COUNT;
        if (!tonePorta) {
            if (cell.instrument) channel.instrument = static_cast<std::uint8_t>(cell.instrument - 1);
            if (hasNote) channel.note = static_cast<std::uint8_t>(cell.note - 1);
        }
        const Instrument& instrument = channel_instrument(player, channel);
        Sample& sample = channel_sample(instrument, channel);
        RowContext row{player, channel, cell, instrument, sample};
        std::int32_t saved[3] = {channel.period, channel.volume, channel.panning};

        if (cell.effect != TREMOLO && channel.lastEffect == TREMOLO) channel.volume += channel.volumeOffset;
        channel.lastEffect = cell.effect;
        channel.volumeOffset = 0;
        channel.periodOffset = 0;
        channel.updateFlags = UPDATE_FREQUENCY | UPDATE_VOLUME;

        if (hasNote) {
            // The period comes from the real note as it is (it may be below
            // 0); the channel keeps it as a byte.
            const int realNote = cell.note - 1 + sample.relativeNote;
            channel.realNote = static_cast<std::uint8_t>(realNote);
            const std::int32_t period = note_period(linear, realNote, sample.finetune);
            channel.notePeriod = period;
            if (!tonePorta) channel.period = period;
            channel.updateFlags |= UPDATE_TRIGGER;
        }
        if (cell.instrument) {
            channel.volume = sample.volume;
            channel.panning = sample.panning;
            channel.volumeEnvelope.value = 64;
            channel.panningEnvelope.value = 32;
            channel.fadeVolume = 65536;
            restart_modulation(channel);
            channel.updateFlags |= UPDATE_VOLUME | UPDATE_PANNING;
        }
        volume_column_row(row);
        if (cell.note >= NOTE_KEY_OFF || cell.effect == KEY_OFF) release(channel);
        if (instrument.volumeEnvelope.type & ENVELOPE_ON) step_envelope(channel, instrument, EnvelopeKind::Volume);
        else if (channel.keyOff) channel.volumeEnvelope.value = 0;
        if (instrument.panningEnvelope.type & ENVELOPE_ON) step_envelope(channel, instrument, EnvelopeKind::Panning);
        if (channel.keyOff) fade(channel, instrument);
        effect_row(row, saved, jumped);
        update_voice(channel, sample, instrument, player);
    }
}

void process_tick(ModulePlayer& player) {
    const Pattern& pattern = current_pattern(player);
    if (!pattern.cells) return;
    for (std::int32_t c = 0; c < player.song.channelCount; ++c) {
        Channel& channel = player.song.channels[c];
        const Cell& cell = pattern.cells[player.row * player.song.channelCount + c];
        const Instrument& instrument = channel_instrument(player, channel);
        Sample& sample = channel_sample(instrument, channel);
        RowContext row{player, channel, cell, instrument, sample};
        channel.volumeOffset = 0;
        channel.periodOffset = 0;
        channel.updateFlags = 0;
        if (instrument.volumeEnvelope.type & ENVELOPE_ON) step_envelope(channel, instrument, EnvelopeKind::Volume);
        if (instrument.panningEnvelope.type & ENVELOPE_ON) step_envelope(channel, instrument, EnvelopeKind::Panning);
        if (channel.keyOff) {
            fade(channel, instrument);
            channel.updateFlags |= UPDATE_VOLUME;
        }
        volume_column_tick(row);
        effect_tick(row);
        update_voice(channel, sample, instrument, player);
    }
}

// Takes the pending order and row, or the caller's jump to row 0 of an order;
// a row beyond its pattern (a break, loop or jump aimed too far) becomes row 0.
void enter_row(ModulePlayer& player) {
    std::int32_t order = std::exchange(player.nextOrder, -1);
    std::int32_t row = std::exchange(player.nextRow, -1);
    const std::int32_t jump = player.jumpOrder.exchange(-1, std::memory_order_relaxed);
    if (jump >= 0) {
        order = jump;
        row = 0;
    }
    if (order >= 0) player.order = order < player.song.length ? order : 0;
    if (row >= 0) player.row = row;
    if (player.row >= current_pattern(player).rows) player.row = 0;
}

// After a row that set no jump: the next row, the next order, or the end.
// False when the song ends here.
bool advance(ModulePlayer& player, bool& restarted) {
    const std::int16_t rows = static_cast<std::int16_t>(current_pattern(player).rows);
    if (player.row + 1 < rows) {
        player.nextRow = player.row + 1;
        return true;
    }
    if (player.order + 1 < player.song.length) {
        player.nextOrder = player.order + 1;
    } else {
        if (player.noLoop) return false;
        const std::int32_t restart = player.song.restartPosition;
        player.nextOrder = restart < player.song.length ? restart : 0;
        restarted = true;
    }
    player.nextRow = 0;
    return true;
}

}  // namespace

void sequencer_tick(ModulePlayer& player) {
    if (player.tick != 0) {
        process_tick(player);
    } else {
        enter_row(player);
        const bool restarted = player.restarted;
        player.restarted = false;
        if (player.rowWatch && !player.rowWatch(player.rowWatchContext, player, restarted)) {
            player.songEnded = 1;
            return;
        }
        process_row(player);
        if (player.nextRow == -1) {
            bool wrapped = false;
            if (!advance(player, wrapped)) {
                player.songEnded = 1;
                return;
            }
            player.restarted = wrapped;
        }
    }
    player.samplesLeftInTick = static_cast<std::int32_t>(player.samplesPerTick);
    if (++player.tick >= player.speed + player.extraTicks) {
        player.tick = 0;
        player.extraTicks = 0;
    }
}

}  // namespace music
