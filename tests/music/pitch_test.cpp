// Periods, frequencies, envelopes, auto-vibrato and the voice hand-over.
#include <gtest/gtest.h>

#include <vector>

#include "music/pitch.h"
#include "tests/music/song_fixture.h"

using music::Channel;
using music::Instrument;
using music::Voice;

TEST(Pitch, LinearPeriodsAndFrequencies) {
    EXPECT_EQ(music::note_period(true, 48, 0), 4608);
    EXPECT_EQ(music::note_period(true, 48, -128), 4672);
    EXPECT_EQ(music::note_period(true, 48, 127), 4545);  // the halving truncates toward zero
    EXPECT_EQ(music::period_frequency(true, 4608, 0), 8363u);
    EXPECT_EQ(music::period_frequency(true, 3840, 0), 16726u);
    EXPECT_EQ(music::period_frequency(true, 4608, 768), 16726u);  // the offset raises the pitch
    EXPECT_EQ(music::period_frequency(true, 0, 0), 40u);
    EXPECT_EQ(music::period_frequency(true, -5, 3), 40u);
}

TEST(Pitch, AmigaPeriods) {
    EXPECT_EQ(music::amiga_period(48, 0), 1712);
    EXPECT_EQ(music::amiga_period(60, 0), 856);
    EXPECT_EQ(music::amiga_period(0, 0), 27392);
    EXPECT_EQ(music::amiga_period(95, 0), 113);
    EXPECT_EQ(music::amiga_period(48, 64), 1664);
    EXPECT_EQ(music::amiga_period(48, -64), 1712 + 64 * (1814 - 1712) / 128);
    EXPECT_EQ(music::period_frequency(false, 1712, 0), 14317456u / 1712);
    EXPECT_EQ(music::period_frequency(false, 1712, 100), 14317456u / 1812);  // the offset lowers it
}

TEST(Pitch, FrequencyStaysInTheMixersStepRange) {
    EXPECT_LT(music::period_frequency(false, 1, 0), 32u * 48000);
    EXPECT_LT(music::period_frequency(true, -100000, 200000), 32u * 48000);
    EXPECT_EQ(music::period_frequency(true, 1 << 24, 0), 0u);  // far below hearing: the mixer's slowest step
}

namespace {

struct VoiceBench {
    LoadedSong loaded;
    VoiceBench() {
        XmModule module = basic_module();
        EXPECT_TRUE(loaded.load(module));
        Channel& c = channel();
        c.volume = 64;
        c.panning = 128;
        c.volumeEnvelope.value = 64;
        c.panningEnvelope.value = 32;
        c.fadeVolume = 65536;
        c.period = 4608;
    }
    Channel& channel() { return loaded.channel(0); }
    Instrument& instrument() { return loaded.song().instruments[0]; }
    const music::Sample& sample() { return *instrument().samples[0]; }
    void update(std::uint8_t flags) {
        channel().updateFlags = flags;
        music::update_voice(channel(), sample(), instrument(), *loaded.player);
    }
};

}  // namespace

TEST(VoiceUpdate, FullVolumeCentredAndStep) {
    VoiceBench bench;
    bench.update(music::UPDATE_VOLUME | music::UPDATE_PANNING | music::UPDATE_FREQUENCY);
    const Voice& voice = *bench.channel().voice;
    EXPECT_EQ(voice.volume, 127u);
    EXPECT_EQ(voice.rightTarget, 63u);
    EXPECT_EQ(voice.leftTarget, 63u);
    EXPECT_EQ(voice.stepInteger, 0);
    EXPECT_EQ(voice.stepFraction, 748308572u);
}

TEST(VoiceUpdate, VolumeIsClampedWherePlayed) {
    VoiceBench bench;
    bench.channel().volume = 500;
    bench.update(music::UPDATE_VOLUME);
    EXPECT_EQ(bench.channel().voice->volume, 127u);
    bench.channel().volume = -20;
    bench.update(music::UPDATE_VOLUME);
    EXPECT_EQ(bench.channel().voice->volume, 0u);
}

TEST(VoiceUpdate, PanningEnvelopeHasNoRoomAtTheEdges) {
    VoiceBench bench;
    bench.channel().panning = 0;
    bench.channel().panningEnvelope.value = 64;
    bench.update(music::UPDATE_PANNING);
    EXPECT_EQ(bench.channel().voice->panning, 0u);
    bench.channel().panning = 128;
    bench.channel().panningEnvelope.value = 0;
    bench.update(music::UPDATE_PANNING);
    EXPECT_EQ(bench.channel().voice->panning, 0u);
    bench.channel().panning = 128;
    bench.channel().panningEnvelope.value = 64;
    bench.update(music::UPDATE_PANNING);
    EXPECT_EQ(bench.channel().voice->panning, 255u);
}

TEST(VoiceUpdate, AutoVibrato) {
    VoiceBench bench;
    bench.instrument().vibratoDepth = 8;
    bench.instrument().vibratoRate = 4;
    bench.channel().vibratoPhase = 64;
    bench.update(0);
    EXPECT_EQ(bench.channel().periodOffset, 8);
    EXPECT_EQ(bench.channel().vibratoPhase, 68u);
    EXPECT_TRUE(bench.channel().updateFlags & music::UPDATE_FREQUENCY);

    bench.instrument().vibratoSweep = 4;  // grows from nothing over the sweep
    bench.channel().vibratoSweep = 0;
    bench.channel().vibratoPhase = 64;
    bench.channel().periodOffset = 0;
    bench.update(0);
    EXPECT_EQ(bench.channel().periodOffset, 0);
    EXPECT_EQ(bench.channel().vibratoSweep, 1);
}

TEST(VoiceUpdate, NewNoteLeavesTheOldOneFadingOnThePartner) {
    VoiceBench bench;
    bench.update(music::UPDATE_TRIGGER | music::UPDATE_VOLUME | music::UPDATE_PANNING | music::UPDATE_FREQUENCY);
    Voice* first = bench.channel().voice;
    ASSERT_NE(first->sample, nullptr);
    first->position = 40;
    first->rightLevel = first->leftLevel = 63 * 128;
    first->startOffset = 7;
    bench.update(music::UPDATE_TRIGGER | music::UPDATE_VOLUME);
    Voice* second = bench.channel().voice;
    ASSERT_NE(second, first);
    EXPECT_EQ(second - first, 1);
    EXPECT_EQ(first->position, 40);
    EXPECT_EQ(first->rightTarget, 0u);
    EXPECT_EQ(first->leftTarget, 0u);
    EXPECT_EQ(first->rightLevel, 63 * 128);
    EXPECT_EQ(second->position, 7);  // the start offset came over with the copy
    EXPECT_EQ(second->rightLevel, 0);
    EXPECT_EQ(second->rightTarget, 63u);
    bench.update(music::UPDATE_TRIGGER);
    EXPECT_EQ(bench.channel().voice, first);  // and back again
}

TEST(Envelope, FallsLinearlyThenEnds) {
    VoiceBench bench;
    music::Envelope& envelope = bench.instrument().volumeEnvelope;
    envelope.points[0] = {0, 64};
    envelope.points[1] = {10, 0};
    envelope.count = 2;
    envelope.type = music::ENVELOPE_ON;
    std::vector<int> values;
    for (int t = 0; t <= 11; ++t) {
        music::step_envelope(bench.channel(), bench.instrument(), music::EnvelopeKind::Volume);
        values.push_back(bench.channel().volumeEnvelope.value);
    }
    EXPECT_EQ(values, (std::vector<int>{64, 57, 51, 44, 38, 32, 25, 19, 12, 6, 0, 0}));
    EXPECT_EQ(bench.channel().volumeEnvelope.ended, 1);
}

TEST(Envelope, SustainHoldsUntilKeyOffAndLoopsRepeat) {
    VoiceBench bench;
    music::Envelope& envelope = bench.instrument().volumeEnvelope;
    envelope.points[0] = {0, 64};
    envelope.points[1] = {2, 32};
    envelope.points[2] = {4, 0};
    envelope.count = 3;
    envelope.sustain = 0;
    envelope.loopStart = 1;
    envelope.loopEnd = 2;
    envelope.type = music::ENVELOPE_ON | music::ENVELOPE_SUSTAIN | music::ENVELOPE_LOOP;
    auto step = [&] {
        music::step_envelope(bench.channel(), bench.instrument(), music::EnvelopeKind::Volume);
        return bench.channel().volumeEnvelope.value;
    };
    for (int t = 0; t < 5; ++t) EXPECT_EQ(step(), 64);
    bench.channel().keyOff = 1;
    std::vector<int> values;
    for (int t = 0; t < 8; ++t) values.push_back(step());
    EXPECT_EQ(values, (std::vector<int>{64, 48, 32, 16, 32, 16, 32, 16}));
}
