#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "music/mixer.h"

namespace {

using music::Sample;
using music::Voice;

// A sample whose data are exactly as long as the mixer may read (length
// plus three), so that the sanitizers see any read outside.
struct TestSample {
    std::vector<std::int16_t> data;
    Sample sample{};

    TestSample(std::vector<std::int16_t> values, std::uint8_t loopType, std::uint32_t loopStart,
               std::uint32_t loopLength) {
        const auto length = static_cast<std::uint32_t>(values.size());
        data = std::move(values);
        data.resize(length + 3, 0);
        if (loopType == music::LOOP_FORWARD) data[loopStart + loopLength] = data[loopStart];
        if (loopType == music::LOOP_PINGPONG) data[loopStart + loopLength] = data[loopStart + loopLength - 1];
        sample.length = length;
        sample.loopType = loopType;
        sample.loopStart = loopType == music::LOOP_NONE ? 0 : loopStart;
        sample.loopLength = loopType == music::LOOP_NONE ? length : loopLength;
        sample.data = data.data();
    }
};

std::vector<std::int16_t> ramp(std::size_t length, std::int16_t slope) {
    std::vector<std::int16_t> values(length);
    for (std::size_t i = 0; i < length; ++i) values[i] = static_cast<std::int16_t>(static_cast<int>(i) * slope);
    return values;
}

// A voice at full settled gain on both sides (target 127), no ramp pending.
Voice settledVoice(const Sample& sample, double step) {
    Voice voice{};
    voice.sample = &sample;
    voice.volume = 127;
    voice.leftTarget = 127;
    voice.rightTarget = 127;
    voice.leftLevel = 127 * 128;
    voice.rightLevel = 127 * 128;
    voice.rampKey = (127u << 16) + 127u;
    const auto fixed = static_cast<std::uint64_t>(step * 4294967296.0);
    voice.stepInteger = static_cast<std::int32_t>(fixed >> 32);
    voice.stepFraction = static_cast<std::uint32_t>(fixed);
    return voice;
}

double positionOf(const Voice& voice) {
    return voice.position + voice.positionFraction / 4294967296.0;
}

std::vector<std::int32_t> mix(Voice* voices, std::uint32_t count, std::uint32_t frames) {
    std::vector<std::int32_t> buffer(2 * frames, 0);
    music::mix_voices(voices, count, buffer.data(), frames);
    return buffer;
}

TEST(Mixer, SettledVoiceAddsSixtyFourTimesSampleTimesGain) {
    TestSample flat(std::vector<std::int16_t>(200, 1000), music::LOOP_NONE, 0, 0);
    Voice voice = settledVoice(flat.sample, 1.0);
    voice.rightTarget = voice.rightLevel = 0;
    voice.rampKey = 127u << 16;
    const auto out = mix(&voice, 1, 4);
    EXPECT_EQ(out[0], 64 * 1000 * 127);
    EXPECT_EQ(out[1], 0);
}

TEST(Mixer, UnloopedSampleOfLength100AtUnitStepPlaysExactly100Frames) {
    TestSample flat(std::vector<std::int16_t>(100, 1000), music::LOOP_NONE, 0, 0);
    Voice voice = settledVoice(flat.sample, 1.0);
    const auto out = mix(&voice, 1, 150);
    for (int frame = 0; frame < 150; ++frame) {
        EXPECT_EQ(out[2 * frame] != 0, frame < 100) << frame;
    }
    EXPECT_EQ(voice.sample, nullptr);
    EXPECT_EQ(voice.position, 0);
    EXPECT_EQ(voice.positionFraction, 0u);
}

TEST(Mixer, ForwardLoopCarriesTheOvershootPastTheLoopEnd) {
    // Loop 10..30 at step 3 from position 1: 1, 4, ..., 28, then 31 is one
    // past the end and continues at 11.
    TestSample counting(ramp(30, 100), music::LOOP_FORWARD, 10, 20);
    Voice voice = settledVoice(counting.sample, 3.0);
    voice.position = 1;
    const auto out = mix(&voice, 1, 13);
    const std::int32_t unit = 64 * 100 * 127;
    EXPECT_EQ(out[2 * 9], 28 * unit);
    EXPECT_EQ(out[2 * 10], 11 * unit);
    EXPECT_EQ(out[2 * 11], 14 * unit);
    EXPECT_EQ(out[2 * 12], 17 * unit);
    EXPECT_EQ(voice.position, 20);
}

TEST(Mixer, PingPongAtOneAndAHalfStaysInsideTheLoop) {
    TestSample counting(ramp(8, 100), music::LOOP_PINGPONG, 0, 8);
    Voice voice = settledVoice(counting.sample, 1.5);
    bool turnedBack = false;
    bool turnedForward = false;
    for (int frame = 0; frame < 400; ++frame) {
        const std::uint8_t before = voice.direction;
        mix(&voice, 1, 1);
        ASSERT_NE(voice.sample, nullptr);
        if (voice.direction != before) {
            // After every turn the voice is back inside the loop.
            ASSERT_GE(positionOf(voice), 0.0) << frame;
            ASSERT_LE(positionOf(voice), 8.0) << frame;
            (voice.direction == 1 ? turnedBack : turnedForward) = true;
        }
    }
    EXPECT_TRUE(turnedBack);
    EXPECT_TRUE(turnedForward);

    // The first turn: 0, 1.5, ..., 7.5 are played, then 9 mirrors at 8 to
    // one unit below 7, moving backward.
    Voice fresh = settledVoice(counting.sample, 1.5);
    mix(&fresh, 1, 5);
    EXPECT_EQ(fresh.direction, 0);
    mix(&fresh, 1, 1);
    EXPECT_EQ(fresh.direction, 1);
    EXPECT_EQ(fresh.position, 6);
    EXPECT_EQ(fresh.positionFraction, 0xFFFFFFFFu);
}

TEST(Mixer, TurningExactlyOnALoopStartOfZeroNeverReadsBeforeTheData) {
    TestSample counting(ramp(8, 100), music::LOOP_PINGPONG, 0, 8);
    Voice voice = settledVoice(counting.sample, 1.0);
    voice.position = 2;
    voice.direction = 1;
    mix(&voice, 1, 5);
    EXPECT_EQ(voice.direction, 0);
    EXPECT_GE(voice.position, 0);
}

TEST(Mixer, GainChangeRampsOver128Frames) {
    TestSample flat(std::vector<std::int16_t>(1000, 1000), music::LOOP_NONE, 0, 0);
    Voice voice = settledVoice(flat.sample, 1.0);
    voice.leftTarget = voice.leftLevel = 0;
    voice.rightTarget = 100;
    voice.rightLevel = 0;
    voice.rampKey = 0;
    mix(&voice, 1, 1);
    EXPECT_EQ(voice.rightLevel, 100);
    EXPECT_EQ(voice.rampFramesLeft, 127);
    mix(&voice, 1, 126);
    EXPECT_EQ(voice.rightLevel, 12700);
    mix(&voice, 1, 10);
    EXPECT_EQ(voice.rightLevel, 12800);
    EXPECT_EQ(voice.rampFramesLeft, 0);
    EXPECT_EQ(voice.rightRampStep, 0);

    // A change under one target unit is not ramped.
    voice.rightLevel = 12800 - 100;
    mix(&voice, 1, 1);
    EXPECT_EQ(voice.rightLevel, 12700);
}

TEST(Mixer, ReplacedNoteFadesOutOnThePartnerWhileTheNewOneFadesIn) {
    TestSample flat(std::vector<std::int16_t>(1000, 1000), music::LOOP_NONE, 0, 0);
    Voice voices[2] = {settledVoice(flat.sample, 1.0), settledVoice(flat.sample, 1.0)};
    Voice& old = voices[0];
    old.volume = 0;
    old.leftTarget = old.rightTarget = 0;
    Voice& fresh = voices[1];
    fresh.leftLevel = fresh.rightLevel = 0;
    fresh.rampKey = 0;
    const auto out = mix(voices, 2, 256);
    // Frame 0: the old voice at full level, the new one silent.
    EXPECT_EQ(out[0], 64 * 1000 * 127);
    // Halfway both contribute; at the end only the new one does.
    EXPECT_GT(out[2 * 64], 0);
    EXPECT_EQ(out[2 * 200], 64 * 1000 * 127);
    EXPECT_EQ(old.leftLevel, 0);
    EXPECT_EQ(fresh.leftLevel, 127 * 128);
    EXPECT_NE(old.sample, nullptr);
}

TEST(Mixer, StepZeroPlaysAtAbout40Hz) {
    TestSample flat(std::vector<std::int16_t>(1000, 1000), music::LOOP_NONE, 0, 0);
    Voice voice = settledVoice(flat.sample, 0.0);
    mix(&voice, 1, 48000 / 4);
    EXPECT_EQ(voice.stepFraction, 0x369D00u);
    EXPECT_NEAR(positionOf(voice), 10.0, 0.1);  // 40 samples a second, a quarter second
}

TEST(Mixer, VoicePastItsEndIsLeftAlone) {
    TestSample flat(std::vector<std::int16_t>(100, 1000), music::LOOP_NONE, 0, 0);
    Voice voice = settledVoice(flat.sample, 1.0);
    voice.position = 150;
    const auto out = mix(&voice, 1, 16);
    EXPECT_EQ(out, std::vector<std::int32_t>(32, 0));
    EXPECT_EQ(voice.position, 150);
    EXPECT_EQ(voice.sample, &flat.sample);
}

TEST(Mixer, ChunkedMixingEqualsOneLongMix) {
    // Ramps, loop turns and call boundaries must not change the sound.
    TestSample wave(ramp(301, 97), music::LOOP_PINGPONG, 37, 250);
    TestSample loop(ramp(500, -61), music::LOOP_FORWARD, 100, 399);
    auto voicesAtStart = [&] {
        std::vector<Voice> voices{settledVoice(wave.sample, 2.71), settledVoice(loop.sample, 0.37)};
        voices[0].leftTarget = 20;
        voices[1].rightTarget = 90;
        voices[1].rightLevel = 0;
        voices[1].positionFraction = 0x12345678;
        return voices;
    };
    auto whole = voicesAtStart();
    const auto expected = mix(whole.data(), 2, 3000);

    auto pieces = voicesAtStart();
    std::vector<std::int32_t> actual(6000, 0);
    std::uint32_t done = 0;
    for (std::uint32_t size = 1; done < 3000; size = size * 7 % 173 + 1) {
        const std::uint32_t frames = std::min(size, 3000 - done);
        music::mix_voices(pieces.data(), 2, actual.data() + 2 * done, frames);
        done += frames;
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(pieces[0].position, whole[0].position);
    EXPECT_EQ(pieces[1].positionFraction, whole[1].positionFraction);
}

}  // namespace
