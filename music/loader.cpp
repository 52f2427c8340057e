// Reads an XM module through the player's song source into the song model.
#include <algorithm>
#include <cstring>

#include "music/module_player.h"

namespace music {
namespace {

constexpr std::uint32_t HEADER_BYTES = 336;
constexpr std::uint32_t INSTRUMENT_HEAD_BYTES = 33;
constexpr std::uint32_t INSTRUMENT_BODY_BYTES = 208;
constexpr std::uint32_t SAMPLE_HEADER_BYTES = 40;
constexpr std::uint32_t MAX_SAMPLE_LENGTH = 0x400000;
constexpr std::uint8_t PACKED_4BIT = 0xAD;
// All sample data of one song together: a few bytes of header claiming huge
// lengths must not take the machine's memory.
constexpr std::uint64_t MAX_SAMPLE_BYTES = 256u << 20;

std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t u32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void read(ModulePlayer& player, void* destination, std::uint32_t bytes) {
    player.source.read(player, destination, bytes);
}

template <typename T>
T* allocate(ModulePlayer& player, std::size_t count) {
    return static_cast<T*>(platform::heapAllocZeroed(player.heap, count * sizeof(T)));
}

// Hands out the packed pattern bytes one at a time, reading the source in
// chunks; the pattern ends where its cells end, whatever its stored size says.
class PackedReader {
public:
    explicit PackedReader(ModulePlayer& player) : player_(player), start_(player.readPosition) {}

    std::uint8_t next() {
        if (at_ == filled_) {
            std::memset(chunk_, 0, sizeof chunk_);
            read(player_, chunk_, sizeof chunk_);
            filled_ = sizeof chunk_;
            at_ = 0;
        }
        ++consumed_;
        return chunk_[at_++];
    }

    // Leaves the read position just past the bytes the cells used.
    void finish() { source_seek(player_, std::int64_t{start_} + consumed_, false); }

private:
    ModulePlayer& player_;
    std::int32_t start_;
    std::uint8_t chunk_[512] = {};
    std::uint32_t filled_ = 0, at_ = 0, consumed_ = 0;
};

void unpack_cells(PackedReader& packed, Cell* cells, std::uint32_t count, std::uint16_t instrumentCount) {
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t values[5] = {};
        std::uint8_t first = packed.next();
        if (first & 0x80) {
            for (int v = 0; v < 5; ++v)
                if (first & (1 << v)) values[v] = packed.next();
        } else {
            values[0] = first;
            for (int v = 1; v < 5; ++v) values[v] = packed.next();
        }
        if (values[1] > instrumentCount) values[1] = 0;
        cells[i] = Cell{values[0], values[1], values[2], values[3], values[4]};
    }
    packed.finish();
}

bool load_patterns(ModulePlayer& player) {
    Song& song = player.song;
    const std::uint32_t channels = static_cast<std::uint32_t>(song.channelCount);
    for (std::uint32_t p = 0; p < song.storedPatterns; ++p) {
        std::uint8_t header[9] = {};
        read(player, header, sizeof header);
        Pattern& pattern = song.patterns[p];
        pattern.rows = u16(header + 5);
        pattern.packedSize = u16(header + 7);
        if (pattern.packedSize == 0) continue;
        if (pattern.rows < 1 || pattern.rows > 256) return false;
        std::uint32_t count = pattern.rows * channels;
        pattern.cells = allocate<Cell>(player, count);
        if (!pattern.cells) return false;
        PackedReader packed(player);
        unpack_cells(packed, pattern.cells, count, song.instrumentCount);
    }
    for (std::uint32_t p = song.storedPatterns; p < song.patternCount; ++p) {
        song.patterns[p].rows = 64;
        song.patterns[p].cells = allocate<Cell>(player, 64 * channels);
        if (!song.patterns[p].cells) return false;
    }
    return true;
}

void read_points(const std::uint8_t* points, Envelope& envelope) {
    for (int i = 0; i < MAX_ENVELOPE_POINTS; ++i) {
        envelope.points[i].tick = u16(points + 4 * i);
        envelope.points[i].value = u16(points + 4 * i + 2);
    }
}

// Makes a sloppy envelope safe to run: at most 12 points, values up to 32767
// (so that a value x 65536 fits the 16.16 accumulator; values above 64 are
// otherwise used as they are), ticks that never go back, and sustain or loop
// points that exist (else that feature is off). Fewer than 2 points switch
// the envelope off.
void sanitize_envelope(Envelope& envelope) {
    envelope.count = std::min<std::uint8_t>(envelope.count, MAX_ENVELOPE_POINTS);
    for (int i = 0; i < envelope.count; ++i) {
        EnvelopePoint& point = envelope.points[i];
        point.value = std::min<std::uint16_t>(point.value, MAX_ENVELOPE_VALUE);
        if (i > 0) point.tick = std::max(point.tick, envelope.points[i - 1].tick);
    }
    if (envelope.sustain >= envelope.count) envelope.type &= static_cast<std::uint8_t>(~ENVELOPE_SUSTAIN);
    if (envelope.loopStart >= envelope.count || envelope.loopEnd >= envelope.count)
        envelope.type &= static_cast<std::uint8_t>(~ENVELOPE_LOOP);
    if (envelope.count < 2) envelope.type = 0;
}

void read_instrument_body(const std::uint8_t* body, Instrument& instrument) {
    std::memcpy(instrument.sampleMap, body, NOTE_COUNT);
    read_points(body + 96, instrument.volumeEnvelope);
    read_points(body + 144, instrument.panningEnvelope);
    const std::uint8_t* tail = body + 192;
    instrument.volumeEnvelope.count = tail[0];
    instrument.panningEnvelope.count = tail[1];
    instrument.volumeEnvelope.sustain = tail[2];
    instrument.volumeEnvelope.loopStart = tail[3];
    instrument.volumeEnvelope.loopEnd = tail[4];
    instrument.panningEnvelope.sustain = tail[5];
    instrument.panningEnvelope.loopStart = tail[6];
    instrument.panningEnvelope.loopEnd = tail[7];
    instrument.volumeEnvelope.type = tail[8];
    instrument.panningEnvelope.type = tail[9];
    instrument.vibratoType = tail[10];
    instrument.vibratoSweep = tail[11];
    instrument.vibratoDepth = tail[12];
    instrument.vibratoRate = tail[13];
    instrument.fadeout = static_cast<std::uint16_t>(u16(tail + 14) * 2);
}

// Feeds `bytes` bytes of the source to `take` in chunks; bytes the source
// does not have arrive as 0.
template <typename Take>
void read_chunks(ModulePlayer& player, std::uint32_t bytes, Take take) {
    std::uint8_t chunk[4096];
    while (bytes > 0) {
        std::uint32_t count = std::min<std::uint32_t>(bytes, sizeof chunk);
        std::memset(chunk, 0, count);
        read(player, chunk, count);
        take(chunk, count);
        bytes -= count;
    }
}

// Sample data in the file: 4-bit packed, 8-bit deltas or 16-bit deltas.
void read_sample_data(ModulePlayer& player, Sample& sample, std::uint32_t fileBytes) {
    std::int16_t* data = sample.data;
    std::uint32_t at = 0;
    if (sample.packing == PACKED_4BIT) {
        std::int8_t steps[16] = {};
        read(player, steps, sizeof steps);
        std::uint8_t accumulator = 0;
        auto put = [&](std::uint8_t nibble) {
            if (at >= sample.length) return;
            accumulator = static_cast<std::uint8_t>(accumulator + steps[nibble]);
            data[at++] = static_cast<std::int16_t>(static_cast<std::int8_t>(accumulator) * 256);
        };
        read_chunks(player, (sample.length + 1) / 2, [&](const std::uint8_t* bytes, std::uint32_t count) {
            for (std::uint32_t i = 0; i < count; ++i) {
                put(bytes[i] & 15);
                put(static_cast<std::uint8_t>(bytes[i] >> 4));
            }
        });
        return;
    }
    std::uint16_t sum = 0;
    if (sample.is16Bit) {
        std::uint32_t byteIndex = 0;
        std::uint8_t low = 0;
        read_chunks(player, fileBytes, [&](const std::uint8_t* bytes, std::uint32_t count) {
            for (std::uint32_t i = 0; i < count; ++i, ++byteIndex) {
                if ((byteIndex & 1) == 0) {
                    low = bytes[i];
                } else if (at < sample.length) {
                    sum = static_cast<std::uint16_t>(sum + (low | bytes[i] << 8));
                    data[at++] = static_cast<std::int16_t>(sum);
                }
            }
        });
    } else {
        read_chunks(player, fileBytes, [&](const std::uint8_t* bytes, std::uint32_t count) {
            for (std::uint32_t i = 0; i < count && at < sample.length; ++i) {
                sum = static_cast<std::uint16_t>(sum + bytes[i] * 256);
                data[at++] = static_cast<std::int16_t>(sum);
            }
        });
    }
}

// The value just past the loop is what the mixer interpolates the last looped
// value towards.
void fix_loop_end(Sample& sample) {
    std::uint32_t end = sample.loopStart + sample.loopLength;
    if (sample.loopType == LOOP_FORWARD) sample.data[end] = sample.data[sample.loopStart];
    if (sample.loopType == LOOP_PINGPONG) sample.data[end] = sample.data[end - 1];
}

// Reads one sample header and allocates the sample; null on failure.
Sample* read_sample_header(ModulePlayer& player, std::uint32_t headerBytes, std::uint32_t& fileBytes,
                           std::uint64_t& sampleBytes) {
    std::uint8_t header[SAMPLE_HEADER_BYTES] = {};
    read(player, header, headerBytes);
    fileBytes = u32(header);
    std::uint32_t length = fileBytes, loopStart = u32(header + 4), loopLength = u32(header + 8);
    const std::uint8_t type = header[14];
    const std::uint8_t is16Bit = (type & 0x10) ? 1 : 0;
    if (is16Bit) {
        length /= 2;
        loopStart /= 2;
        loopLength /= 2;
    }
    if (loopStart >= length) loopStart = length;
    if (std::uint64_t{loopStart} + loopLength >= length) loopLength = length - loopStart;
    std::uint8_t loopType = type & 3;
    if (loopType == LOOP_NONE || loopLength == 0) {
        loopType = LOOP_NONE;
        loopStart = 0;
        loopLength = length;
    }
    if (length >= MAX_SAMPLE_LENGTH) return nullptr;
    sampleBytes += (std::uint64_t{length} + 3) * 2;
    if (sampleBytes > MAX_SAMPLE_BYTES) return nullptr;
    auto* sample = allocate<Sample>(player, 1);
    if (!sample) return nullptr;
    sample->data = allocate<std::int16_t>(player, length + 3);
    if (!sample->data) return nullptr;
    sample->length = length;
    sample->loopStart = loopStart;
    sample->loopLength = loopLength;
    sample->volume = header[12];
    sample->finetune = static_cast<std::int8_t>(header[13]);
    sample->is16Bit = is16Bit;
    sample->panning = header[15];
    sample->relativeNote = static_cast<std::int8_t>(header[16]);
    sample->packing = header[17];
    sample->loopType = loopType;
    return sample;
}

bool load_instrument(ModulePlayer& player, Instrument& instrument, std::uint64_t& sampleBytes) {
    std::uint8_t head[INSTRUMENT_HEAD_BYTES] = {};
    read(player, head, sizeof head);
    const std::uint32_t headerSize = u32(head);
    const std::uint32_t sampleCount = head[27];
    const std::uint32_t sampleHeaderSize = u32(head + 29);
    std::int64_t skip = std::int64_t{headerSize} - INSTRUMENT_HEAD_BYTES;
    if (sampleCount > 0) {
        if (sampleCount > SAMPLES_PER_INSTRUMENT || sampleHeaderSize > SAMPLE_HEADER_BYTES) return false;
        std::uint8_t body[INSTRUMENT_BODY_BYTES] = {};
        read(player, body, sizeof body);
        read_instrument_body(body, instrument);
        skip -= INSTRUMENT_BODY_BYTES;
    }
    source_seek(player, skip, true);
    sanitize_envelope(instrument.volumeEnvelope);
    sanitize_envelope(instrument.panningEnvelope);

    std::uint32_t fileBytes[SAMPLES_PER_INSTRUMENT] = {};
    for (std::uint32_t s = 0; s < sampleCount; ++s) {
        instrument.samples[s] = read_sample_header(player, sampleHeaderSize, fileBytes[s], sampleBytes);
        if (!instrument.samples[s]) return false;
    }
    for (std::uint32_t s = 0; s < sampleCount; ++s) {
        read_sample_data(player, *instrument.samples[s], fileBytes[s]);
        fix_loop_end(*instrument.samples[s]);
    }
    return true;
}

// One allocation for the voices, channels, pattern table and instrument table.
bool allocate_tables(ModulePlayer& player) {
    Song& song = player.song;
    const std::size_t channels = static_cast<std::size_t>(song.channelCount);
    const std::size_t instruments = std::max<std::size_t>(song.instrumentCount, 1);
    const std::size_t voiceBytes = 2 * channels * sizeof(Voice);
    const std::size_t channelBytes = channels * sizeof(Channel);
    const std::size_t patternBytes = song.patternCount * sizeof(Pattern);
    static_assert(sizeof(Voice) % alignof(Channel) == 0 && sizeof(Channel) % alignof(Pattern) == 0 &&
                  sizeof(Pattern) % alignof(Instrument) == 0);
    auto* block = static_cast<unsigned char*>(platform::heapAllocZeroed(
        player.heap, voiceBytes + channelBytes + patternBytes + instruments * sizeof(Instrument)));
    if (!block) return false;
    song.voices = reinterpret_cast<Voice*>(block);
    song.channels = reinterpret_cast<Channel*>(block + voiceBytes);
    song.patterns = reinterpret_cast<Pattern*>(block + voiceBytes + channelBytes);
    song.instruments = reinterpret_cast<Instrument*>(block + voiceBytes + channelBytes + patternBytes);
    for (std::size_t c = 0; c < channels; ++c) {
        song.channels[c].voice = &song.voices[2 * c];
        song.voices[2 * c].stepInteger = 1;
    }
    return true;
}

}  // namespace

void set_bpm(ModulePlayer& player, std::uint32_t bpm) {
    player.samplesPerTick = bpm == 0 ? 120000 : 120000 / bpm;
}

bool load_song(ModulePlayer& player) {
    Song& song = player.song;
    song = Song{};
    if (!player.source.open(player)) return false;
    std::uint8_t header[HEADER_BYTES] = {};
    read(player, header, sizeof header);
    std::size_t nameLength = 0;
    for (int i = 0; i < 20; ++i) {
        char c = static_cast<char>(header[17 + i]);
        if (header[17 + i] >= 0x20 && header[17 + i] < 0x80) song.name[nameLength++] = c;
    }
    song.length = u16(header + 64);
    song.restartPosition = u16(header + 66);
    song.channelCount = header[68];
    song.storedPatterns = u16(header + 70);
    song.instrumentCount = header[72];
    song.flags = u16(header + 74);
    song.tempo = u16(header + 76);
    song.bpm = u16(header + 78);
    std::memcpy(song.orders, header + 80, MAX_ORDERS);
    if (song.storedPatterns < 1 || song.length < 1 || song.length > MAX_ORDERS) return false;
    if (song.channelCount < 1 || song.channelCount > MAX_CHANNELS) return false;
    const std::uint8_t highest = *std::max_element(song.orders, song.orders + song.length);
    song.patternCount = std::max<std::uint16_t>(song.storedPatterns, static_cast<std::uint16_t>(highest + 1));
    if (!allocate_tables(player)) return false;

    set_bpm(player, song.bpm);
    player.globalVolume = 64;
    player.speed = song.tempo;
    source_seek(player, std::int64_t{60} + u32(header + 60), false);
    if (!load_patterns(player)) return false;

    player.samplesLeftInTick = 0;
    player.tick = 0;
    player.extraTicks = 0;
    player.order = 0;
    player.row = 0;
    player.nextOrder = 0;
    player.nextRow = 0;
    player.jumpOrder.store(-1, std::memory_order_relaxed);
    player.songEnded = 0;
    player.restarted = false;
    std::uint64_t sampleBytes = 0;
    for (std::uint32_t i = 0; i < song.instrumentCount; ++i)
        if (!load_instrument(player, song.instruments[i], sampleBytes)) return false;
    return true;
}

}  // namespace music
