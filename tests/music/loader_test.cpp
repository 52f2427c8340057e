// The loader: layout quirks, the model it builds, and what it refuses.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/music/song_fixture.h"

using music::Sample;

TEST(Loader, ShortHeaderPutsFirstPatternAfterItsOrders) {
    XmModule module = basic_module(1, 4);
    module.orders.assign(31, 0);
    module.headerSize = 51;  // 20 + 31 orders: the first pattern starts at 111
    cell(module, 2, 0) = {49, 1, 0, 0, 0};
    std::vector<std::uint8_t> bytes = xm_write(module);
    ASSERT_EQ(bytes[111 + 5], 4);  // the pattern header's row count is where the loader looks
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(bytes));
    EXPECT_EQ(loaded.song().length, 31);
    EXPECT_EQ(loaded.song().patterns[0].rows, 4);
    EXPECT_EQ(loaded.song().patterns[0].cells[2].note, 49);
}

TEST(Loader, OrdersNamingUnstoredPatternsGetEmptyOnes) {
    XmModule module = basic_module();
    module.patterns.resize(31, module.patterns[0]);
    module.orders = {0, 40, 3};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    EXPECT_EQ(loaded.song().patternCount, 41);
    for (int p = 31; p <= 40; ++p) {
        EXPECT_EQ(loaded.song().patterns[p].rows, 64);
        ASSERT_NE(loaded.song().patterns[p].cells, nullptr);
        EXPECT_EQ(loaded.song().patterns[p].cells[0].note, 0);
    }
}

TEST(Loader, PackedSizeZeroKeepsRowsWithoutCells) {
    XmModule module = basic_module(2, 64);
    module.patterns.push_back(XmPattern{});
    module.patterns[1].rows = 300;  // no cells, so not checked
    module.orders = {1, 0};
    cell(module, 0, 0) = {49, 1, 0, 0, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    EXPECT_EQ(loaded.song().patterns[1].rows, 300);
    EXPECT_EQ(loaded.song().patterns[1].cells, nullptr);
    EXPECT_EQ(loaded.song().patterns[0].cells[0].note, 49);  // the next pattern read from the right place
    loaded.rows(3);  // rows of a cell-less pattern pass silently
    EXPECT_EQ(loaded.player->row, 2);
    EXPECT_EQ(loaded.channel(0).voice->sample, nullptr);
}

TEST(Loader, EmptyInstrumentWith29ByteHeaderIsSkippedExactly) {
    XmModule module = basic_module();
    XmInstrument empty;
    empty.name = "empty";
    module.instruments.insert(module.instruments.begin(), empty);
    module.instruments[1].samples[0].volume = 33;
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    EXPECT_EQ(loaded.song().instruments[0].samples[0], nullptr);
    ASSERT_NE(loaded.song().instruments[1].samples[0], nullptr);
    EXPECT_EQ(loaded.song().instruments[1].samples[1], nullptr);
    EXPECT_EQ(loaded.song().instruments[1].samples[0]->volume, 33);
    EXPECT_EQ(loaded.song().instruments[1].samples[0]->length, 64u);
}

TEST(Loader, InstrumentNumbersBeyondTheCountBecomeNone) {
    XmModule module = basic_module();
    module.instruments.resize(24, module.instruments[0]);
    cell(module, 0, 0) = {49, 30, 0, 0, 0};
    cell(module, 1, 0) = {49, 24, 0, 0, 0};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    EXPECT_EQ(loaded.song().patterns[0].cells[0].instrument, 0);
    EXPECT_EQ(loaded.song().patterns[0].cells[1].instrument, 24);
}

TEST(Loader, SampleDataIsDeltaDecodedTo16Bits) {
    XmModule module = basic_module();
    XmSample& sample = module.instruments[0].samples[0];
    sample.rawData = {0x10, 0x10, 0xF0};
    sample.loopType = XM_LOOP_NONE;
    sample.loopLength = 0;
    XmSample wide;
    wide.sixteenBit = true;
    wide.pcm = {1000, -1000, 32767, -32768};
    module.instruments[0].samples.push_back(wide);
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    const Sample& narrow = *loaded.song().instruments[0].samples[0];
    ASSERT_EQ(narrow.length, 3u);
    EXPECT_EQ(narrow.data[0], 4096);
    EXPECT_EQ(narrow.data[1], 8192);
    EXPECT_EQ(narrow.data[2], 4096);
    EXPECT_EQ(narrow.data[3], 0);  // unlooped: the partner after the end is silence
    const Sample& decoded = *loaded.song().instruments[0].samples[1];
    ASSERT_EQ(decoded.length, 4u);
    EXPECT_EQ(decoded.is16Bit, 1);
    EXPECT_EQ(decoded.data[0], 1000);
    EXPECT_EQ(decoded.data[2], 32767);
    EXPECT_EQ(decoded.data[3], -32768);
}

TEST(Loader, FourBitPackedSamplesUseTheirStepTable) {
    XmModule module = basic_module();
    XmSample& sample = module.instruments[0].samples[0];
    sample.packing = 0xAD;
    sample.loopType = XM_LOOP_NONE;
    std::vector<std::uint8_t> raw(16, 0);
    raw[1] = 3;
    raw[2] = 0xFF;  // -1
    raw.push_back(0x21);  // nibbles 1 then 2: +3, -1
    raw.push_back(0x01);  // nibble 1: +3 (the high nibble is past the length)
    sample.rawData = raw;
    sample.lengthField = 3;
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    const Sample& decoded = *loaded.song().instruments[0].samples[0];
    ASSERT_EQ(decoded.length, 3u);
    EXPECT_EQ(decoded.data[0], 3 * 256);
    EXPECT_EQ(decoded.data[1], 2 * 256);
    EXPECT_EQ(decoded.data[2], 5 * 256);
}

TEST(Loader, LoopsAreFittedIntoTheSample) {
    XmModule module = basic_module();
    XmSample base = module.instruments[0].samples[0];
    base.pcm.assign(120, 0);
    base.pcm[100] = 7;
    base.pcm[119] = 9;
    XmSample clipped = base;  // loop 100 + 50 in a sample of 120
    clipped.loopStart = 100;
    clipped.loopLength = 50;
    XmSample noLength = base;
    noLength.loopStart = 30;
    noLength.loopLength = 0;
    XmSample pingpong = clipped;
    pingpong.loopType = XM_LOOP_PINGPONG;
    module.instruments[0].samples = {clipped, noLength, pingpong};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    const Sample& a = *loaded.song().instruments[0].samples[0];
    EXPECT_EQ(a.loopStart, 100u);
    EXPECT_EQ(a.loopLength, 20u);
    EXPECT_EQ(a.loopType, music::LOOP_FORWARD);
    EXPECT_EQ(a.data[120], 7 * 256);  // forward: the value at the loop start follows the loop end
    const Sample& b = *loaded.song().instruments[0].samples[1];
    EXPECT_EQ(b.loopType, music::LOOP_NONE);
    EXPECT_EQ(b.loopStart, 0u);
    EXPECT_EQ(b.loopLength, 120u);
    const Sample& c = *loaded.song().instruments[0].samples[2];
    EXPECT_EQ(c.data[120], 9 * 256);  // ping-pong: the last looped value repeats
}

TEST(Loader, NoInstrumentsLoadsAndPlaysSilence) {
    XmModule module = basic_module();
    module.instruments.clear();
    cell(module, 0, 0) = {49, 1, 0, 0, 0};  // instrument 1 of 0 becomes none
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    EXPECT_EQ(loaded.song().instrumentCount, 0);
    loaded.rows(2);
    EXPECT_EQ(loaded.channel(0).voice->sample, &music::emptySample);
}

TEST(Loader, SongNameKeepsPrintableCharacters) {
    XmModule module = basic_module();
    module.name = std::string("ab\x01" "c\x80" "d");
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    EXPECT_STREQ(loaded.song().name, "abcd");
}

TEST(Loader, SixteenSamplesAtMost) {
    XmModule module = basic_module();
    module.instruments[0].samples.resize(16, module.instruments[0].samples[0]);
    module.instruments[0].samples[15].volume = 5;
    module.instruments[0].sampleMap[49] = 15;
    module.instruments[0].sampleMap[50] = 16;  // names no sample
    cell(module, 0, 0) = {50, 1, 0, 0, 0};
    cell(module, 1, 0) = {51, 1, 0, 0, 0};
    LoadedSong sixteen;
    ASSERT_TRUE(sixteen.load(module));
    sixteen.rows(1);
    EXPECT_EQ(sixteen.channel(0).volume, 5);
    sixteen.rows(1);
    EXPECT_EQ(sixteen.channel(0).voice->sample, &music::emptySample);

    module.instruments[0].samples.resize(17, module.instruments[0].samples[0]);
    LoadedSong seventeen;
    EXPECT_FALSE(seventeen.load(module));
}

TEST(Loader, SloppyEnvelopesAreMadeSafe) {
    XmModule module = basic_module();
    XmEnvelope& volume = module.instruments[0].volumeEnvelope;
    volume.points = {{0, 64}, {10, 200}, {5, 40000}};
    volume.pointCountField = 40;
    volume.sustain = 12;
    volume.loopStart = 1;
    volume.loopEnd = 30;
    volume.type = XM_ENVELOPE_ON | XM_ENVELOPE_SUSTAIN | XM_ENVELOPE_LOOP;
    XmEnvelope& panning = module.instruments[0].panningEnvelope;
    panning.points = {{0, 32}};
    panning.type = XM_ENVELOPE_ON;
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    const music::Envelope& v = loaded.song().instruments[0].volumeEnvelope;
    EXPECT_EQ(v.count, 12);
    EXPECT_EQ(v.type, music::ENVELOPE_ON);  // sustain and loop pointed past the points
    EXPECT_EQ(v.points[1].value, 200);  // used as it is
    EXPECT_EQ(v.points[2].value, 32767);
    EXPECT_EQ(v.points[2].tick, 10);
    EXPECT_EQ(loaded.song().instruments[0].panningEnvelope.type, 0);  // a single point is no envelope
}

struct Rejection {
    const char* what;
    void (*spoil)(XmModule&);
};

class LoaderRejects : public testing::TestWithParam<Rejection> {};

TEST_P(LoaderRejects, Module) {
    XmModule module = basic_module();
    GetParam().spoil(module);
    LoadedSong loaded;
    EXPECT_FALSE(loaded.load(module)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, LoaderRejects,
    testing::Values(
        Rejection{"no patterns", [](XmModule& m) { m.patternCountField = 0; }},
        Rejection{"song length 0", [](XmModule& m) { m.songLengthField = 0; }},
        Rejection{"song length 257", [](XmModule& m) { m.songLengthField = 257; }},
        Rejection{"0 channels", [](XmModule& m) { m.channels = 0; }},
        Rejection{"65 channels", [](XmModule& m) { m.channels = 65; }},
        Rejection{"0 rows", [](XmModule& m) { m.patterns[0].rows = 0; m.patterns[0].rawPacked = {0x80}; }},
        Rejection{"257 rows", [](XmModule& m) { m.patterns[0].rows = 257; m.patterns[0].rawPacked = {0x80}; }},
        Rejection{"sample header of 41", [](XmModule& m) { m.instruments[0].sampleHeaderSize = 41; }},
        Rejection{"sample of 4 Mi samples", [](XmModule& m) { m.instruments[0].samples[0].lengthField = 0x400000; }}));

TEST(Loader, TruncatedFilesLoadWithMissingData) {
    XmModule module = basic_module(4, 64);
    cell(module, 63, 3) = {49, 1, 0x40, 0, 0};
    const std::vector<std::uint8_t> whole = xm_write(module);
    for (std::size_t size = 0; size < whole.size(); size += 7) {
        LoadedSong loaded;
        std::vector<std::uint8_t> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        if (loaded.load(part)) loaded.rows(70);
    }
}

namespace {

// Loads the bytes through a file and through memory and compares the samples.
void expect_same_from_file(const std::vector<std::uint8_t>& bytes) {
    const std::string path = testing::TempDir() + "file_source.xm";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);

    LoadedSong fromMemory;
    const bool memoryLoaded = fromMemory.load(bytes);
    LoadedSong fromFile;
    fromFile.player->source = music::FILE_SOURCE;
    fromFile.player->sourcePath = path.c_str();
    const bool fileLoaded = music::load_song(*fromFile.player);
    fromFile.player->source.close(*fromFile.player);
    std::remove(path.c_str());
    ASSERT_EQ(memoryLoaded, fileLoaded);
    if (!memoryLoaded) return;
    for (int i = 0; i < fromMemory.song().instrumentCount; ++i) {
        for (int s = 0; s < music::SAMPLES_PER_INSTRUMENT; ++s) {
            ASSERT_EQ(fromMemory.song().instruments[i].samples[s] == nullptr,
                      fromFile.song().instruments[i].samples[s] == nullptr);
            if (fromMemory.song().instruments[i].samples[s] == nullptr) continue;
            const Sample& a = *fromMemory.song().instruments[i].samples[s];
            const Sample& b = *fromFile.song().instruments[i].samples[s];
            ASSERT_EQ(a.length, b.length);
            EXPECT_EQ(std::memcmp(a.data, b.data, (a.length + 3) * 2), 0) << "instrument " << i << " sample " << s;
        }
    }
}

}  // namespace

TEST(Loader, FileSourceBuildsTheSameSongAsMemory) {
    XmModule module = basic_module(2, 64);
    XmSample big;
    big.sixteenBit = true;
    for (int i = 0; i < 20000; ++i) big.pcm.push_back(static_cast<std::int16_t>(i * 37));
    module.instruments[0].samples.push_back(big);
    module.instruments.push_back(module.instruments[0]);
    const std::vector<std::uint8_t> bytes = xm_write(module);
    expect_same_from_file(bytes);
    // Cut inside the second instrument's big sample: the data the file lacks
    // stays silent, whichever way it was read.
    expect_same_from_file(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 12345));

    LoadedSong missing;
    missing.player->source = music::FILE_SOURCE;
    missing.player->sourcePath = "/nonexistent/song.xm";
    EXPECT_FALSE(music::load_song(*missing.player));
}
