#include "tools/xm_writer/xm_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

unsigned le16(const Bytes& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | static_cast<uint32_t>(le16(b, at + 2)) << 16; }
std::string text(const Bytes& b, size_t at, size_t n) { return std::string(b.begin() + at, b.begin() + at + n); }

TEST(XmWriter, HeaderFieldsAndShortOrderTable) {
    XmModule m;
    m.name = "Frost";
    m.headerSize = 51;
    m.restart = 3;
    m.channels = 0x108;
    m.flags = 1;
    m.tempo = 5;
    m.bpm = 118;
    for (uint8_t i = 0; i < 31; ++i) m.orders.push_back(i);
    m.patterns.emplace_back();
    m.patterns[0].rows = 16;
    m.instrumentCountField = 24;
    const Bytes b = xm_write(m);

    EXPECT_EQ(text(b, 0, 17), "Extended Module: ");
    EXPECT_EQ(text(b, 17, 6), std::string("Frost\0", 6));
    EXPECT_EQ(b[37], 0x1A);
    EXPECT_EQ(le16(b, 58), 0x0104u);
    EXPECT_EQ(le32(b, 60), 51u);
    EXPECT_EQ(le16(b, 64), 31u);
    EXPECT_EQ(le16(b, 66), 3u);
    EXPECT_EQ(le16(b, 68), 0x108u);
    EXPECT_EQ(le16(b, 70), 1u);
    EXPECT_EQ(le16(b, 72), 24u);
    EXPECT_EQ(le16(b, 74), 1u);
    EXPECT_EQ(le16(b, 76), 5u);
    EXPECT_EQ(le16(b, 78), 118u);
    EXPECT_EQ(b[80], 0);
    EXPECT_EQ(b[110], 30);
    // The first pattern follows the 31 orders at once: 60 + 51.
    EXPECT_EQ(le32(b, 111), 9u);
    EXPECT_EQ(le16(b, 116), 16u);
    EXPECT_EQ(le16(b, 118), 0u);  // no cells: packed size 0 and no data
    EXPECT_EQ(b.size(), 120u);
}

TEST(XmWriter, FullHeaderPadsTheOrderTable) {
    XmModule m;
    m.orders = {2, 0, 1};
    const Bytes b = xm_write(m);
    EXPECT_EQ(b.size(), 60u + 276u);
    EXPECT_EQ(b[80], 2);
    EXPECT_EQ(b[82], 1);
    EXPECT_EQ(b[83], 0);
    EXPECT_EQ(le16(b, 64), 3u);
}

TEST(XmWriter, PacksCellsByPresence) {
    const std::vector<XmCell> cells = {
        {},                                   // nothing: one flag byte
        {49, 2, 0x40, 0x0F, 0x03},            // everything: five plain bytes
        {XM_KEY_OFF, 0, 0, 0x0C, 0},          // note and effect
        {0, 0, 0, 0, 0x20},                   // parameter alone
    };
    const Bytes expected = {0x80, 49, 2, 0x40, 0x0F, 0x03, 0x89, 97, 0x0C, 0x90, 0x20};
    EXPECT_EQ(xm_pack_cells(cells), expected);
}

TEST(XmWriter, PatternRawBytesAndFieldOverrides) {
    XmModule m;
    m.headerSize = 20;
    m.channels = 1;
    XmPattern raw;
    raw.rows = 2;
    raw.rawPacked = {0x30, 0x05, 0x00, 0x00, 0x00, 0x80};
    raw.packedSizeField = 0;
    m.patterns.push_back(raw);
    XmPattern packed;
    packed.rows = 1;
    packed.cells = {{1, 1, 0, 0, 0}};
    m.patterns.push_back(packed);
    const Bytes b = xm_write(m);

    size_t at = 80;
    EXPECT_EQ(le16(b, at + 5), 2u);
    EXPECT_EQ(le16(b, at + 7), 0u);
    EXPECT_EQ(Bytes(b.begin() + at + 9, b.begin() + at + 15), raw.rawPacked);
    at += 15;
    EXPECT_EQ(le16(b, at + 5), 1u);
    EXPECT_EQ(le16(b, at + 7), 3u);
    EXPECT_EQ(Bytes(b.begin() + at + 9, b.end()), (Bytes{0x83, 1, 1}));
}

TEST(XmWriter, RefusesAPatternTooLargeForItsSizeField) {
    XmModule m;
    m.channels = 64;
    XmPattern big;
    big.rows = 256;
    big.cells.assign(256 * 64, XmCell{1, 1, 0x40, 0x0F, 0x03});  // 5 bytes each: 81920
    m.patterns.push_back(big);
    EXPECT_THROW(xm_write(m), std::length_error);
    m.patterns[0].packedSizeField = 0x1234;
    EXPECT_EQ(xm_write(m).size(), 60u + 276u + 9u + 81920u);
}

TEST(XmWriter, EncodesSampleDeltas) {
    EXPECT_EQ(xm_encode_sample({16, 32, 16}, false), (Bytes{0x10, 0x10, 0xF0}));
    EXPECT_EQ(xm_encode_sample({-128, 127}, false), (Bytes{0x80, 0xFF}));
    EXPECT_EQ(xm_encode_sample({1000, -1000}, true), (Bytes{0xE8, 0x03, 0x30, 0xF8}));
    EXPECT_EQ(xm_encode_sample({-32768, 32767}, true), (Bytes{0x00, 0x80, 0xFF, 0xFF}));
}

TEST(XmWriter, EmptyInstrumentIsTwentyNineBytes) {
    XmModule m;
    m.headerSize = 20;
    m.instruments.emplace_back();
    m.instruments[0].name = "nothing";
    const Bytes b = xm_write(m);
    ASSERT_EQ(b.size(), 80u + 29u);
    EXPECT_EQ(le32(b, 80), 29u);
    EXPECT_EQ(text(b, 84, 7), "nothing");
    EXPECT_EQ(le16(b, 80 + 27), 0u);
    EXPECT_EQ(le16(b, 72), 1u);
}

TEST(XmWriter, InstrumentWithEnvelopesAndSamples) {
    XmInstrument ins;
    ins.sampleMap.fill(1);
    ins.sampleMap[0] = 0;
    ins.volumeEnvelope.points = {{0, 64}, {10, 32}, {40, 0}};
    ins.volumeEnvelope.sustain = 1;
    ins.volumeEnvelope.loopEnd = 1;
    ins.volumeEnvelope.type = XM_ENVELOPE_ON | XM_ENVELOPE_SUSTAIN | XM_ENVELOPE_LOOP;
    ins.panningEnvelope.points = {{0, 32}, {20, 50}};
    ins.panningEnvelope.type = XM_ENVELOPE_ON;
    ins.vibratoType = 1;
    ins.vibratoSweep = 2;
    ins.vibratoDepth = 3;
    ins.vibratoRate = 4;
    ins.fadeout = 0x1234;
    XmSample eight;
    eight.pcm = {16, 32, 16};
    eight.volume = 40;
    eight.finetune = -16;
    eight.panning = 96;
    eight.relativeNote = -12;
    eight.name = "eight";
    XmSample sixteen;
    sixteen.pcm = {1000, -1000, 0, 5};
    sixteen.sixteenBit = true;
    sixteen.loopType = XM_LOOP_PINGPONG;
    sixteen.loopStart = 1;
    sixteen.loopLength = 2;
    ins.samples = {eight, sixteen};
    XmModule m;
    m.headerSize = 20;
    m.instruments = {ins};
    const Bytes b = xm_write(m);

    const size_t at = 80;
    EXPECT_EQ(le32(b, at), 263u);
    EXPECT_EQ(le16(b, at + 27), 2u);
    EXPECT_EQ(le32(b, at + 29), 40u);
    EXPECT_EQ(b[at + 33], 0);
    EXPECT_EQ(b[at + 34], 1);
    EXPECT_EQ(le16(b, at + 129 + 4), 10u);      // second volume point tick
    EXPECT_EQ(le16(b, at + 129 + 10), 0u);      // third volume point value
    EXPECT_EQ(le16(b, at + 177 + 6), 50u);      // second panning point value
    const Bytes tail(b.begin() + at + 225, b.begin() + at + 241);
    EXPECT_EQ(tail, (Bytes{3, 2, 1, 0, 1, 0, 0, 0, 7, 1, 1, 2, 3, 4, 0x34, 0x12}));

    const size_t s1 = at + 263, s2 = s1 + 40, data = s2 + 40;
    EXPECT_EQ(le32(b, s1), 3u);
    EXPECT_EQ(b[s1 + 12], 40);
    EXPECT_EQ(b[s1 + 13], 0xF0);
    EXPECT_EQ(b[s1 + 14], 0);
    EXPECT_EQ(b[s1 + 15], 96);
    EXPECT_EQ(b[s1 + 16], 0xF4);
    EXPECT_EQ(text(b, s1 + 18, 5), "eight");
    // Lengths of 16-bit samples are given in bytes.
    EXPECT_EQ(le32(b, s2), 8u);
    EXPECT_EQ(le32(b, s2 + 4), 2u);
    EXPECT_EQ(le32(b, s2 + 8), 4u);
    EXPECT_EQ(b[s2 + 14], 0x12);
    // Both headers first, then both data blocks.
    EXPECT_EQ(Bytes(b.begin() + data, b.end()), (Bytes{0x10, 0x10, 0xF0, 0xE8, 0x03, 0x30, 0xF8, 0xE8, 0x03, 5, 0}));
}

TEST(XmWriter, SampleFieldOverrides) {
    XmInstrument ins;
    ins.sampleHeaderSize = 18;
    XmSample packed;
    packed.packing = 0xAD;
    packed.rawData = Bytes(16 + 2, 0x11);
    packed.lengthField = 4;
    packed.typeField = 3;
    ins.samples = {packed};
    ins.headerSizeField = 241;
    XmModule m;
    m.headerSize = 20;
    m.instruments = {ins};
    const Bytes b = xm_write(m);
    const size_t s = 80 + 241;
    EXPECT_EQ(le32(b, 80 + 29), 18u);
    EXPECT_EQ(le32(b, s), 4u);
    EXPECT_EQ(b[s + 14], 3);
    EXPECT_EQ(b[s + 17], 0xAD);
    EXPECT_EQ(b.size(), s + 18 + 18);
}

}  // namespace
