// The block fill: output rounding and gain, elapsed time, ring and pause.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "music/master_volume.h"
#include "tests/music/song_fixture.h"

TEST(Fill, OutputRoundsHalfUpAndClips) {
    EXPECT_EQ(music::output_sample(8160, music::UNITY_VOLUME), 1);
    EXPECT_EQ(music::output_sample(-8160, music::UNITY_VOLUME), -1);
    EXPECT_EQ(music::output_sample(8159, music::UNITY_VOLUME), 0);
    EXPECT_EQ(music::output_sample(16320 * 32767, music::UNITY_VOLUME), 32767);
    EXPECT_EQ(music::output_sample(INT32_MAX, music::UNITY_VOLUME), 32767);
    EXPECT_EQ(music::output_sample(INT32_MIN, music::UNITY_VOLUME), -32767);
    EXPECT_EQ(music::output_sample(16320 * 32767, music::master_volume_gain(0)), 0);
    EXPECT_EQ(music::output_sample(16320 * 1000, 16384), 500);
}

TEST(Fill, OutputMatchesPlainDivisionEverywhere) {
    auto plain = [](std::int64_t value) {
        const std::int64_t magnitude = value < 0 ? -value : value;
        const std::int64_t m = std::min<std::int64_t>((magnitude + 8160) / 16320, 32767);
        return static_cast<std::int16_t>(value < 0 ? -m : m);
    };
    for (std::int64_t value = INT32_MIN; value <= INT32_MAX; value += 4093) {
        ASSERT_EQ(music::output_sample(static_cast<std::int32_t>(value), music::UNITY_VOLUME), plain(value)) << value;
    }
    for (std::int64_t step = 0; step <= 32768; ++step) {
        for (std::int64_t value : {step * 16320 - 8161, step * 16320 - 8160, step * 16320 + 8159}) {
            ASSERT_EQ(music::output_sample(static_cast<std::int32_t>(value), music::UNITY_VOLUME), plain(value)) << value;
        }
    }
}

TEST(Fill, VolumeLevels) {
    EXPECT_EQ(music::master_volume_gain(25), 32768u);
    EXPECT_EQ(music::master_volume_gain(0), 1u);
    EXPECT_EQ(music::master_volume_gain(1), 130u);
    EXPECT_EQ(music::master_volume_gain(24), 26029u);
    EXPECT_EQ(music::master_volume_gain(26), 32768u);
    EXPECT_EQ(music::master_volume_gain(0xFFFFFFFF), 32768u);
}

TEST(Fill, ElapsedTimeDropsEachChunksFraction) {
    XmModule module = basic_module();
    module.bpm = 32;  // 3750 frames per tick: the block is one chunk
    LoadedSong whole;
    ASSERT_TRUE(whole.load(module));
    ASSERT_TRUE(music::fill_block(*whole.player));
    EXPECT_EQ(whole.player->elapsedMs.load(), 21u);

    module.bpm = 240;  // 500 frames per tick: chunks of 500, 500 and 24
    LoadedSong split;
    ASSERT_TRUE(split.load(module));
    ASSERT_TRUE(music::fill_block(*split.player));
    EXPECT_EQ(split.player->elapsedMs.load(), 20u);
    EXPECT_EQ(split.player->samplesLeftInTick, 500 - 24);  // carried into the next block
}

TEST(Fill, RingPositionLevelsAndPause) {
    XmModule module = basic_module();
    module.bpm = 250;  // 480 frames per tick, 6 ticks a row
    cell(module, 0, 0) = {49, 1, 0x50, 0, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    for (int block = 0; block < 3; ++block) ASSERT_TRUE(music::fill_block(*loaded.player));
    EXPECT_EQ(loaded.player->fillBlock, 3u);
    EXPECT_EQ(loaded.player->ring[2].position.load(), 1u);  // 3072 frames: row 1 of order 0
    EXPECT_GT(loaded.player->ring[3].levels.load(), 0u);    // the levels land one entry on
    bool sound = false;
    for (std::uint32_t i = 0; i < 2048 * 3; ++i) sound |= loaded.player->output[i] != 0;
    EXPECT_TRUE(sound);

    loaded.player->paused = 1;
    const std::uint32_t elapsed = loaded.player->elapsedMs;
    ASSERT_TRUE(music::fill_block(*loaded.player));
    EXPECT_EQ(loaded.player->elapsedMs.load(), elapsed);
    EXPECT_EQ(loaded.player->ring[4].levels.load(), 0u);
    for (std::uint32_t i = 3 * 2048; i < 4 * 2048; ++i) ASSERT_EQ(loaded.player->output[i], 0);
}

TEST(Fill, NoLoopEndStopsTheFill) {
    XmModule module = basic_module(1, 2);
    module.bpm = 255;
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    loaded.player->noLoop = 1;
    // Row 0 lasts 6 ticks of 470 frames; the start of row 1, the last, ends
    // the song in the third block, before any of that row is mixed.
    EXPECT_TRUE(music::fill_block(*loaded.player));
    EXPECT_TRUE(music::fill_block(*loaded.player));
    EXPECT_FALSE(music::fill_block(*loaded.player));
    EXPECT_EQ(loaded.player->fillBlock, 2u);
}

TEST(Fill, BlockConversionMatchesEachSample) {
    // Values around every rounding edge and clip point, a block at a time,
    // through whichever conversion this processor runs.
    std::vector<std::int32_t> values = {INT32_MIN, INT32_MIN + 1, INT32_MAX, 0, -1, 1};
    for (std::int64_t step = 0; step <= 32768; step += 7) {
        for (std::int64_t value : {step * 16320 - 8161, step * 16320 - 8160, step * 16320 + 8159}) {
            values.push_back(static_cast<std::int32_t>(value));
            values.push_back(static_cast<std::int32_t>(-value));
        }
    }
    values.resize((values.size() / music::MIX_SAMPLES + 1) * music::MIX_SAMPLES, 12345);
    std::int16_t out[music::MIX_SAMPLES];
    for (std::uint32_t volume : {music::UNITY_VOLUME, 1u, 130u, 16384u, 26029u}) {
        for (std::size_t start = 0; start < values.size(); start += music::MIX_SAMPLES) {
            music::convert_block(values.data() + start, out, volume);
            for (std::uint32_t i = 0; i < music::MIX_SAMPLES; ++i) {
                ASSERT_EQ(out[i], music::output_sample(values[start + i], volume)) << values[start + i] << " at " << volume;
            }
        }
    }
}

TEST(Fill, EnvelopeValuesFarAbove64PlayAsTheyAreAndTheMixWraps) {
    // 32 channels of a full-scale square at envelope value 32767: voice
    // volumes far beyond 127 whose sums leave 32 bits (the sanitizers would
    // stop on an overflow).
    XmModule module = basic_module(32);
    XmSample& sample = module.instruments[0].samples[0];
    sample.sixteenBit = true;
    for (std::size_t i = 0; i < sample.pcm.size(); ++i) sample.pcm[i] = i < 32 ? 32767 : -32768;
    module.instruments[0].volumeEnvelope = {{{0, 32767}, {10, 32767}}, 0, 0, 0, XM_ENVELOPE_ON, {}};
    for (int channel = 0; channel < 32; ++channel) cell(module, 0, channel) = {49, 1, 0, 0, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    for (int block = 0; block < 8; ++block) ASSERT_TRUE(music::fill_block(*loaded.player));
    // (64 x 255 x 64 x 32767, kept to 32 bits) x 65536 / 2^35.
    EXPECT_EQ(loaded.channel(0).voice->volume, 7934u);
}
