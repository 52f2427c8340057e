// Rows, orders, the volume column and the effects, tick by tick.
#include <gtest/gtest.h>

#include <vector>

#include "tests/music/song_fixture.h"

namespace {

constexpr std::uint8_t EFFECT_A = 10, EFFECT_B = 11, EFFECT_D = 13, EFFECT_E = 14, EFFECT_F = 15, EFFECT_R = 27,
                       EFFECT_T = 29;

// Records the row at every row start.
std::vector<std::int32_t>* visited = nullptr;
bool record_row(void*, const music::ModulePlayer& player, bool) {
    visited->push_back(player.row);
    return true;
}

}  // namespace

TEST(Sequencer, PatternDelayStretchesTheRowAndItsSlides) {
    XmModule module = basic_module(2);
    cell(module, 0, 0) = {49, 1, 0x20, 0, 0};  // volume 16
    cell(module, 1, 0) = {0, 0, 0, EFFECT_A, 0x10};
    cell(module, 1, 1) = {0, 0, 0, EFFECT_E, 0xE2};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.ticks(6);
    EXPECT_EQ(loaded.channel(0).volume, 16);
    loaded.ticks(18);
    EXPECT_EQ(loaded.player->row, 1);
    EXPECT_EQ(loaded.player->tick, 0);
    EXPECT_EQ(loaded.channel(0).volume, 16 + 17);
    loaded.ticks(1);
    EXPECT_EQ(loaded.player->row, 2);
}

TEST(Sequencer, BreakAndJumpInOneRow) {
    XmModule module = basic_module(2);
    module.patterns.push_back(module.patterns[0]);
    module.orders = {0, 1, 0};
    cell(module, 0, 0) = {0, 0, 0, EFFECT_D, 0x32};
    LoadedSong breakOnly;
    ASSERT_TRUE(breakOnly.load(module));
    breakOnly.ticks(6);
    EXPECT_EQ(breakOnly.player->nextOrder, 1);
    EXPECT_EQ(breakOnly.player->nextRow, 32);
    breakOnly.ticks(1);
    EXPECT_EQ(breakOnly.player->order, 1);
    EXPECT_EQ(breakOnly.player->row, 32);

    cell(module, 0, 1) = {0, 0, 0, EFFECT_B, 2};  // B in a higher channel: its order, row 0
    LoadedSong jumpAfter;
    ASSERT_TRUE(jumpAfter.load(module));
    jumpAfter.ticks(7);
    EXPECT_EQ(jumpAfter.player->order, 2);
    EXPECT_EQ(jumpAfter.player->row, 0);

    cell(module, 0, 0) = {0, 0, 0, EFFECT_B, 2};  // B in a lower channel: its order, D's row
    cell(module, 0, 1) = {0, 0, 0, EFFECT_D, 0x05};
    LoadedSong jumpBefore;
    ASSERT_TRUE(jumpBefore.load(module));
    jumpBefore.ticks(7);
    EXPECT_EQ(jumpBefore.player->order, 2);
    EXPECT_EQ(jumpBefore.player->row, 5);
}

TEST(Sequencer, BreakBeyondThePatternLandsOnRowZero) {
    XmModule module = basic_module(1, 8);
    module.patterns.push_back(module.patterns[0]);
    module.orders = {0, 1};
    cell(module, 0, 0) = {0, 0, 0, EFFECT_D, 0x99};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.ticks(7);
    EXPECT_EQ(loaded.player->order, 1);
    EXPECT_EQ(loaded.player->row, 0);
}

TEST(Sequencer, PatternLoopPlaysItsRowsFourTimes) {
    XmModule module = basic_module(1, 6);
    cell(module, 1, 0) = {0, 0, 0, EFFECT_E, 0x60};
    cell(module, 3, 0) = {0, 0, 0, EFFECT_E, 0x63};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    std::vector<std::int32_t> rows;
    visited = &rows;
    loaded.player->rowWatch = record_row;
    loaded.rows(15);
    EXPECT_EQ(rows, (std::vector<std::int32_t>{0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 4, 5}));
}

TEST(Sequencer, VolumeColumnSlidesOnEveryTickEffectSlidesAfterTheFirst) {
    XmModule module = basic_module(2);
    cell(module, 0, 0) = {49, 1, 0x50, 0, 0};
    cell(module, 0, 1) = {49, 1, 0x50, 0, 0};
    cell(module, 1, 0) = {0, 0, 0x65, 0, 0};
    cell(module, 1, 1) = {0, 0, 0, EFFECT_A, 0x05};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.rows(2);
    EXPECT_EQ(loaded.channel(0).volume, 64 - 30);
    EXPECT_EQ(loaded.channel(1).volume, 64 - 25);
}

TEST(Sequencer, SpeedZeroAndTempo) {
    XmModule module = basic_module();
    cell(module, 0, 0) = {0, 0, 0, EFFECT_F, 0x00};
    cell(module, 1, 0) = {0, 0, 0, EFFECT_F, 0x20};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.ticks(1);
    EXPECT_EQ(loaded.player->tick, 0);  // every tick is a row
    loaded.ticks(1);
    EXPECT_EQ(loaded.player->row, 1);
    EXPECT_EQ(loaded.player->samplesPerTick, 3750u);
    EXPECT_EQ(loaded.player->samplesLeftInTick, 3750);  // the row's own tick already has the new length
    loaded.ticks(1);
    EXPECT_EQ(loaded.player->row, 2);
}

TEST(Sequencer, MultiRetriggerRestartsOnItsInterval) {
    XmModule module = basic_module();
    cell(module, 0, 0) = {49, 1, 0, EFFECT_R, 0x83};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    std::vector<int> voices;
    for (int t = 0; t < 6; ++t) {
        loaded.ticks(1);
        voices.push_back(static_cast<int>(loaded.channel(0).voice - loaded.song().voices));
    }
    EXPECT_EQ(voices, (std::vector<int>{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(loaded.channel(0).volume, 64);
}

TEST(Sequencer, TremorAlternatesAcrossRows) {
    XmModule module = basic_module();
    cell(module, 0, 0) = {49, 1, 0, EFFECT_T, 0x21};
    for (int row = 1; row < 4; ++row) cell(module, row, 0) = {0, 0, 0, EFFECT_T, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    std::vector<int> sounding;
    for (int t = 0; t < 12; ++t) {
        loaded.ticks(1);
        sounding.push_back(loaded.channel(0).voice->volume > 0);
    }
    EXPECT_EQ(sounding, (std::vector<int>{1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1}));
}

TEST(Sequencer, InstrumentWithoutNoteResetsDefaultsWithoutRestart) {
    XmModule module = basic_module();
    module.instruments.push_back(module.instruments[0]);
    module.instruments[1].samples[0].volume = 20;
    module.instruments[1].samples[0].panning = 50;
    cell(module, 0, 0) = {49, 1, 0x30, 0, 0};
    cell(module, 1, 0) = {0, 2, 0, 0, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.rows(1);
    music::Voice* voice = loaded.channel(0).voice;
    const music::Sample* playing = voice->sample;
    voice->position = 17;
    loaded.ticks(1);
    EXPECT_EQ(loaded.channel(0).volume, 20);
    EXPECT_EQ(loaded.channel(0).panning, 50);
    EXPECT_EQ(loaded.channel(0).voice, voice);
    EXPECT_EQ(voice->sample, playing);
    EXPECT_EQ(voice->position, 17);
}

TEST(Sequencer, SampleOffset) {
    XmModule module = basic_module();
    XmInstrument longer = module.instruments[0];
    longer.samples[0].pcm.assign(1000, 5);
    longer.samples[0].loopType = XM_LOOP_NONE;
    module.instruments.push_back(longer);
    cell(module, 0, 0) = {49, 2, 0, 9, 0x02};
    cell(module, 1, 0) = {49, 1, 0, 9, 0x01};  // 256 is beyond the 64-value loop
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.ticks(1);
    EXPECT_EQ(loaded.channel(0).voice->position, 512);
    loaded.ticks(5);
    music::Voice* voice = loaded.channel(0).voice;
    voice->position = 300;
    loaded.ticks(1);
    EXPECT_EQ(loaded.channel(0).voice, voice);  // no new start
    EXPECT_EQ(voice->position, 0);
    EXPECT_EQ(voice->sample->length, 1000u);  // the old sample plays on from 0
}

TEST(Sequencer, EndOfOrdersGoesToTheRestartPosition) {
    XmModule module = basic_module(1, 2);
    module.patterns.push_back(module.patterns[0]);
    module.orders = {0, 1, 0};
    for (std::uint16_t restart : {std::uint16_t{1}, std::uint16_t{3}, std::uint16_t{200}}) {
        module.restart = restart;
        LoadedSong loaded;
        ASSERT_TRUE(loaded.load(module));
        loaded.rows(7);
        EXPECT_EQ(loaded.player->order, restart < 3 ? restart : 0) << restart;
        EXPECT_EQ(loaded.player->row, 0);
    }
    LoadedSong once;
    ASSERT_TRUE(once.load(module));
    once.player->noLoop = 1;
    once.rows(6);
    EXPECT_EQ(once.player->songEnded, 1);
}

TEST(Sequencer, NoteDelayStartsTheNoteLate) {
    XmModule module = basic_module();
    cell(module, 0, 0) = {49, 1, 0, EFFECT_E, 0xD2};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.ticks(2);
    EXPECT_EQ(loaded.channel(0).voice->sample, nullptr);
    loaded.ticks(1);
    EXPECT_NE(loaded.channel(0).voice->sample, nullptr);
    EXPECT_GT(loaded.channel(0).voice->volume, 0u);
}

TEST(Sequencer, KeyOffFadesOut) {
    XmModule module = basic_module();
    module.instruments[0].fadeout = 4096;  // doubled: 8192 per tick
    module.instruments[0].volumeEnvelope.points = {{0, 64}, {4, 64}};
    module.instruments[0].volumeEnvelope.type = XM_ENVELOPE_ON | XM_ENVELOPE_SUSTAIN;
    cell(module, 0, 0) = {49, 1, 0, 0, 0};
    cell(module, 1, 0) = {XM_KEY_OFF, 0, 0, 0, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.rows(1);
    EXPECT_EQ(loaded.channel(0).fadeVolume, 65536);
    loaded.rows(1);
    EXPECT_EQ(loaded.channel(0).fadeVolume, 65536 - 6 * 8192);
    loaded.rows(1);
    EXPECT_EQ(loaded.channel(0).fadeVolume, 0);
    EXPECT_EQ(loaded.channel(0).voice->volume, 0u);
}

TEST(Sequencer, RealNoteBelowZeroKeepsItsPeriod) {
    // C-0 with a relative note of -12: real note -12, an octave below C-0,
    // on both period tables; the channel keeps the note as a byte.
    for (const bool linear : {true, false}) {
        XmModule module = basic_module();
        module.flags = linear ? 1 : 0;
        module.instruments[0].samples[0].relativeNote = -12;
        cell(module, 0, 0) = {1, 1, 0, 0, 0};
        LoadedSong loaded;
        ASSERT_TRUE(loaded.load(module));
        loaded.ticks(1);
        EXPECT_EQ(loaded.channel(0).period, linear ? 7680 + 64 * 12 : 54784) << linear;
        EXPECT_EQ(loaded.channel(0).realNote, 244) << linear;
    }
}
