// The song as the composer writes it: the committed file is reproducible, and
// the module uses what it is meant to show off.
#include "tools/compose_song/notation.h"
#include "tools/compose_song/score.h"
#include "tools/xm_writer/xm_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

std::vector<uint8_t> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WhitepineScore, CommittedSongIsWhatTheToolWrites) {
    const std::vector<uint8_t> committed = readFile(WHITEPINE_SONG_PATH);
    ASSERT_FALSE(committed.empty()) << WHITEPINE_SONG_PATH;
    EXPECT_TRUE(committed == xm_write(compose_whitepine())) << "run compose_song to regenerate music/whitepine.xm";
}

TEST(WhitepineScore, ShapeAndLength) {
    const XmModule m = compose_whitepine();
    EXPECT_GE(m.channels, 8);
    EXPECT_GE(m.instruments.size(), 8u);
    EXPECT_EQ(m.flags & 1, 1) << "linear frequency table";
    EXPECT_LT(m.restart, m.orders.size());
    for (uint8_t order : m.orders) EXPECT_LT(order, m.patterns.size());
    for (const XmPattern& p : m.patterns) EXPECT_EQ(p.cells.size(), size_t{p.rows} * m.channels);
    const double seconds = static_cast<double>(whitepine_length_frames()) / 48000.0;
    EXPECT_GE(seconds, 120.0);
    EXPECT_LE(seconds, 180.0);
}

TEST(WhitepineScore, InstrumentsCoverSampleFormatsAndEnvelopes) {
    const XmModule m = compose_whitepine();
    std::set<int> loops;
    bool eightBit = false, sixteenBit = false, sustain = false, envelopeLoop = false, panning = false,
         autoVibrato = false;
    for (const XmInstrument& ins : m.instruments) {
        ASSERT_FALSE(ins.samples.empty()) << ins.name;
        for (const XmSample& s : ins.samples) {
            (s.sixteenBit ? sixteenBit : eightBit) = true;
            loops.insert(s.loopType);
            EXPECT_LE(size_t{s.loopStart} + s.loopLength, s.pcm.size()) << ins.name;
        }
        sustain |= (ins.volumeEnvelope.type & XM_ENVELOPE_SUSTAIN) != 0;
        envelopeLoop |= (ins.volumeEnvelope.type & XM_ENVELOPE_LOOP) != 0;
        panning |= (ins.panningEnvelope.type & XM_ENVELOPE_ON) != 0;
        autoVibrato |= ins.vibratoDepth != 0;
    }
    EXPECT_TRUE(eightBit && sixteenBit);
    EXPECT_TRUE(loops.count(XM_LOOP_FORWARD) && loops.count(XM_LOOP_PINGPONG));
    EXPECT_TRUE(sustain && envelopeLoop && panning && autoVibrato);
}

TEST(WhitepineScore, PatternsUseTheTrackerEffects) {
    const XmModule m = compose_whitepine();
    std::set<int> effects;
    bool volumeColumn = false, arpeggio = false, bpmChange = false, patternLoop = false;
    for (const XmPattern& p : m.patterns) {
        for (const XmCell& c : p.cells) {
            volumeColumn |= c.volume != 0;
            if (c.effect == ARPEGGIO && c.param != 0) arpeggio = true;
            if (c.effect == SPEED_OR_BPM && c.param >= 0x20 && c.param != m.bpm) bpmChange = true;
            if (c.effect == EXTENDED && (c.param >> 4) == 6 && (c.param & 15) != 0) patternLoop = true;
            if (c.param != 0) effects.insert(c.effect);
        }
    }
    EXPECT_TRUE(volumeColumn && arpeggio && bpmChange && patternLoop);
    for (int e : {PORTA_UP, PORTA_DOWN, TONE_PORTA, VIBRATO, VOLUME_SLIDE}) EXPECT_TRUE(effects.count(e)) << e;
}

TEST(Notation, NoteNames) {
    EXPECT_EQ(note("C0"), 1);
    EXPECT_EQ(note("C4"), 49);
    EXPECT_EQ(note("A4"), 58);
    EXPECT_EQ(note("C#5"), 62);
    EXPECT_EQ(note("Bb3"), 47);
    EXPECT_EQ(note("B7"), 96);
}

TEST(Notation, PhraseTokensBecomeCells) {
    PatternGrid g(8, 2);
    const PhraseStyle style{.instrument = 3, .volume = vol(40), .slideSpeed = 0x11, .vibrato = 0x22, .fall = 0x33,
                            .fade = 0x44};
    EXPECT_EQ(write_phrase(g, 1, 0, style, "D5 ~ | E5/ \\ . > ^ F5~"), 8);
    EXPECT_EQ(g.at(0, 1).note, note("D5"));
    EXPECT_EQ(g.at(0, 1).instrument, 3);
    EXPECT_EQ(g.at(0, 1).volume, vol(40));
    EXPECT_EQ(g.at(1, 1).effect, VIBRATO);
    EXPECT_EQ(g.at(1, 1).param, 0x22);
    // A slide keeps the playing note's instrument and volume.
    EXPECT_EQ(g.at(2, 1).note, note("E5"));
    EXPECT_EQ(g.at(2, 1).instrument, 0);
    EXPECT_EQ(g.at(2, 1).effect, TONE_PORTA);
    EXPECT_EQ(g.at(2, 1).param, 0x11);
    EXPECT_EQ(g.at(3, 1).effect, PORTA_DOWN);
    EXPECT_EQ(g.at(4, 1).note, 0);
    EXPECT_EQ(g.at(5, 1).effect, VOLUME_SLIDE);
    EXPECT_EQ(g.at(5, 1).param, 0x44);
    EXPECT_EQ(g.at(6, 1).note, XM_KEY_OFF);
    EXPECT_EQ(g.at(7, 1).note, note("F5"));
    EXPECT_EQ(g.at(7, 1).effect, VIBRATO);
    EXPECT_EQ(g.at(0, 0).note, 0) << "other channels untouched";
}

}  // namespace
