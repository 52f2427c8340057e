#include "tools/xm_writer/xm_writer.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace {

constexpr uint32_t FULL_INSTRUMENT_HEADER = 263;
constexpr uint32_t EMPTY_INSTRUMENT_HEADER = 29;
constexpr size_t SAMPLE_HEADER_BYTES = 40;
constexpr size_t ENVELOPE_POINTS = 12;

using Bytes = std::vector<uint8_t>;

void put8(Bytes& out, unsigned value) { out.push_back(static_cast<uint8_t>(value)); }

void put16(Bytes& out, unsigned value) {
    put8(out, value & 0xFF);
    put8(out, (value >> 8) & 0xFF);
}

void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A fixed-width text field, zero-padded or cut.
void putText(Bytes& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) put8(out, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

void putBytes(Bytes& out, const Bytes& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

// Cuts or zero-pads the bytes from `start` on to exactly `length`.
void fitTo(Bytes& out, size_t start, size_t length) { out.resize(start + length, 0); }

void putEnvelopePoints(Bytes& out, const XmEnvelope& envelope) {
    for (size_t i = 0; i < ENVELOPE_POINTS; ++i) {
        const XmEnvelopePoint point = i < envelope.points.size() ? envelope.points[i] : XmEnvelopePoint{};
        put16(out, point.tick);
        put16(out, point.value);
    }
}

uint8_t pointCount(const XmEnvelope& envelope) {
    return envelope.pointCountField.value_or(
        static_cast<uint8_t>(std::min(envelope.points.size(), ENVELOPE_POINTS)));
}

Bytes sampleData(const XmSample& sample) {
    return sample.rawData.empty() ? xm_encode_sample(sample.pcm, sample.sixteenBit) : sample.rawData;
}

void putSampleHeader(Bytes& out, const XmSample& sample, uint32_t headerSize) {
    const size_t start = out.size();
    const uint32_t unit = sample.sixteenBit ? 2 : 1;
    const uint32_t dataBytes = sample.rawData.empty() ? static_cast<uint32_t>(sample.pcm.size()) * unit
                                                      : static_cast<uint32_t>(sample.rawData.size());
    put32(out, sample.lengthField.value_or(dataBytes));
    put32(out, sample.loopStart * unit);
    put32(out, sample.loopLength * unit);
    put8(out, sample.volume);
    put8(out, static_cast<uint8_t>(sample.finetune));
    put8(out, sample.typeField.value_or(static_cast<uint8_t>(sample.loopType | (sample.sixteenBit ? 0x10 : 0))));
    put8(out, sample.panning);
    put8(out, static_cast<uint8_t>(sample.relativeNote));
    put8(out, sample.packing);
    putText(out, sample.name, 22);
    fitTo(out, start, headerSize);
}

void putInstrument(Bytes& out, const XmInstrument& instrument) {
    const bool hasSamples = !instrument.samples.empty();
    const uint32_t headerSize =
        instrument.headerSizeField.value_or(hasSamples ? FULL_INSTRUMENT_HEADER : EMPTY_INSTRUMENT_HEADER);
    const size_t start = out.size();
    put32(out, headerSize);
    putText(out, instrument.name, 22);
    put8(out, instrument.type);
    put16(out, instrument.sampleCountField.value_or(static_cast<uint16_t>(instrument.samples.size())));
    put32(out, instrument.sampleHeaderSize);
    putBytes(out, Bytes(instrument.sampleMap.begin(), instrument.sampleMap.end()));
    putEnvelopePoints(out, instrument.volumeEnvelope);
    putEnvelopePoints(out, instrument.panningEnvelope);
    put8(out, pointCount(instrument.volumeEnvelope));
    put8(out, pointCount(instrument.panningEnvelope));
    const XmEnvelope& vol = instrument.volumeEnvelope;
    const XmEnvelope& pan = instrument.panningEnvelope;
    for (uint8_t b : {vol.sustain, vol.loopStart, vol.loopEnd, pan.sustain, pan.loopStart, pan.loopEnd, vol.type,
                      pan.type, instrument.vibratoType, instrument.vibratoSweep, instrument.vibratoDepth,
                      instrument.vibratoRate})
        put8(out, b);
    put16(out, instrument.fadeout);
    fitTo(out, start, headerSize);

    for (const XmSample& sample : instrument.samples) putSampleHeader(out, sample, instrument.sampleHeaderSize);
    for (const XmSample& sample : instrument.samples) putBytes(out, sampleData(sample));
}

void putPattern(Bytes& out, const XmPattern& pattern) {
    const Bytes packed = pattern.rawPacked.empty() ? xm_pack_cells(pattern.cells) : pattern.rawPacked;
    // The size field is 16 bits wide; a larger pattern cannot be stored.
    if (packed.size() > 0xFFFF && !pattern.packedSizeField)
        throw std::length_error("xm_write: a pattern packs to more than 65535 bytes");
    put32(out, pattern.headerLengthField.value_or(9));
    put8(out, 0);
    put16(out, pattern.rows);
    put16(out, pattern.packedSizeField.value_or(static_cast<uint16_t>(packed.size())));
    putBytes(out, packed);
}

}  // namespace

std::vector<uint8_t> xm_pack_cells(const std::vector<XmCell>& cells) {
    Bytes out;
    for (const XmCell& c : cells) {
        const uint8_t values[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
        const bool allPresent = std::all_of(values, values + 5, [](uint8_t v) { return v != 0; });
        if (allPresent && c.note < 0x80) {
            putBytes(out, Bytes(values, values + 5));
            continue;
        }
        uint8_t mask = 0x80;
        for (int i = 0; i < 5; ++i)
            if (values[i] != 0) mask = static_cast<uint8_t>(mask | (1 << i));
        put8(out, mask);
        for (uint8_t v : values)
            if (v != 0) put8(out, v);
    }
    return out;
}

std::vector<uint8_t> xm_encode_sample(const std::vector<int16_t>& pcm, bool sixteenBit) {
    Bytes out;
    out.reserve(pcm.size() * (sixteenBit ? 2 : 1));
    uint16_t previous = 0;
    for (int16_t value : pcm) {
        const uint16_t current = sixteenBit ? static_cast<uint16_t>(value) : static_cast<uint8_t>(value);
        const uint16_t delta = static_cast<uint16_t>(current - previous);
        previous = current;
        if (sixteenBit)
            put16(out, delta);
        else
            put8(out, delta & 0xFF);
    }
    return out;
}

std::vector<uint8_t> xm_write(const XmModule& module) {
    Bytes out;
    putText(out, "Extended Module: ", 17);
    putText(out, module.name, 20);
    put8(out, 0x1A);
    putText(out, module.tracker, 20);
    put16(out, module.version);

    const size_t headerStart = out.size();
    put32(out, module.headerSize);
    put16(out, module.songLengthField.value_or(static_cast<uint16_t>(module.orders.size())));
    put16(out, module.restart);
    put16(out, module.channels);
    put16(out, module.patternCountField.value_or(static_cast<uint16_t>(module.patterns.size())));
    put16(out, module.instrumentCountField.value_or(static_cast<uint16_t>(module.instruments.size())));
    put16(out, module.flags);
    put16(out, module.tempo);
    put16(out, module.bpm);
    putBytes(out, module.orders);
    fitTo(out, headerStart, module.headerSize);

    for (const XmPattern& pattern : module.patterns) putPattern(out, pattern);
    for (const XmInstrument& instrument : module.instruments) putInstrument(out, instrument);
    return out;
}
