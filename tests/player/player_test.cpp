// The player interface on the hand-advanced fake device: what the player
// thread writes into the looping buffer is compared with the same song
// rendered block by block through fill_block.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "music/player.h"
#include "platform/fake/fake_pcm.h"
#include "tools/xm_writer/xm_writer.h"

namespace {

using namespace music;

constexpr std::uint32_t BLOCK_BYTES = BLOCK_FRAMES * 4;
constexpr std::uint32_t BLOCK_SAMPLES = BLOCK_FRAMES * 2;
using Block = std::vector<std::int16_t>;

// One channel, one looped saw, one row per tick at 960 frames a row; every
// row sets its own volume, so every block of the song sounds different.
// `orders` patterns of 8 rows: about 7.5 blocks each.
std::vector<std::uint8_t> testSong(int orders, const char* name = "Player test") {
    XmModule module;
    module.name = name;
    module.channels = 1;
    module.tempo = 1;
    module.bpm = 125;
    for (int i = 0; i < orders; ++i) module.orders.push_back(static_cast<std::uint8_t>(i % 2));
    for (int p = 0; p < 2; ++p) {
        XmPattern pattern;
        pattern.rows = 8;
        for (std::uint8_t row = 0; row < 8; ++row) {
            XmCell cell;
            if (row == 0) {
                cell.note = static_cast<std::uint8_t>(49 + 5 * p);
                cell.instrument = 1;
            }
            cell.volume = static_cast<std::uint8_t>(0x18 + 5 * row + 3 * p);
            pattern.cells.push_back(cell);
        }
        module.patterns.push_back(pattern);
    }
    XmSample saw;
    for (int i = 0; i < 64; ++i) saw.pcm.push_back(static_cast<std::int16_t>(i * 1000 - 32000));
    saw.sixteenBit = true;
    saw.loopType = XM_LOOP_FORWARD;
    saw.loopLength = 64;
    XmInstrument instrument;
    instrument.samples.push_back(saw);
    module.instruments.push_back(instrument);
    return xm_write(module);
}

// The song rendered offline with the very fill step the player thread runs,
// keeping a copy of every block and the ring after each fill.
struct Reference {
    std::unique_ptr<ModulePlayer> player = std::make_unique<ModulePlayer>();
    std::vector<Block> blocks;
    std::vector<std::uint32_t> elapsed;  // after each block

    explicit Reference(const std::vector<std::uint8_t>& bytes) {
        player->source = MEMORY_SOURCE;
        player->sourceBase = bytes.data();
        player->sourceSize = static_cast<std::int32_t>(bytes.size());
        player->masterVolume = UNITY_VOLUME;
        player->heap = platform::heapCreate();
        EXPECT_TRUE(load_song(*player));
    }
    ~Reference() { platform::heapDestroy(player->heap); }

    const Block& fill() {
        const std::uint32_t index = player->fillBlock;
        EXPECT_TRUE(fill_block(*player));
        const std::int16_t* start = player->output + index * BLOCK_SAMPLES;
        blocks.emplace_back(start, start + BLOCK_SAMPLES);
        elapsed.push_back(player->elapsedMs.load());
        return blocks.back();
    }
    void fill(int count) {
        for (int i = 0; i < count; ++i) fill();
    }
};

Block playerBlock(std::uint32_t index) {
    const std::int16_t* buffer = platform::fake::pcmBuffer();
    EXPECT_NE(buffer, nullptr);
    if (buffer == nullptr) return {};
    return Block(buffer + index * BLOCK_SAMPLES, buffer + (index + 1) * BLOCK_SAMPLES);
}

bool silent(const Block& block) {
    for (std::int16_t sample : block)
        if (sample != 0) return false;
    return true;
}

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        player_stop();
        platform::fake::pcmReset();
        player_set_volume(25);
    }
    void TearDown() override { player_stop(); }

    // Plays the device on to the start of block `block` of the song's
    // timeline (block 16 is block 0 of the buffer's second round).
    static void playTo(std::uint32_t block) { ASSERT_TRUE(platform::fake::pcmPlayTo(block * BLOCK_BYTES)); }
};

TEST_F(Player, PrefillsAllSixteenBlocksBeforeTheDeviceStarts) {
    const auto song = testSong(4);
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    Reference reference(song);
    reference.fill(16);
    for (std::uint32_t block = 0; block < 16; ++block) {
        EXPECT_FALSE(silent(reference.blocks[block]));
        EXPECT_EQ(playerBlock(block), reference.blocks[block]) << block;
    }
    EXPECT_EQ(player_get_time(), reference.player->elapsedMs.load());
    EXPECT_STREQ(player_get_song_name(), "Player test");
}

TEST_F(Player, RefillsOnlyTheBlocksBehindThePlayCursor) {
    const auto song = testSong(8);
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    Reference reference(song);
    reference.fill(19);

    playTo(3);
    for (std::uint32_t block = 0; block < 3; ++block) EXPECT_EQ(playerBlock(block), reference.blocks[16 + block]);
    for (std::uint32_t block = 3; block < 16; ++block) EXPECT_EQ(playerBlock(block), reference.blocks[block]);

    // While block 3 plays, the queries read ring entry 3: the song position
    // at the end of block 3 and the levels of the block filled last.
    EXPECT_EQ(player_get_position(), reference.player->ring[3].position.load());
    EXPECT_EQ(player_get_levels(), reference.player->ring[3].levels.load());
    EXPECT_NE(player_get_levels(), 0u);
    EXPECT_EQ(player_get_time(), reference.player->elapsedMs.load());

    // Round the loop: the cursor keeps counting past the buffer's end.
    reference.fill(16);
    playTo(10);
    playTo(16 + 3);
    for (std::uint32_t block = 0; block < 16; ++block) {
        EXPECT_EQ(playerBlock(block), reference.blocks[(block < 3 ? 32 : 16) + block]) << block;
    }
}

TEST_F(Player, PauseMixesSilenceAndHoldsTheSongUntilResumed) {
    const auto song = testSong(8);
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    Reference reference(song);
    reference.fill(19);

    playTo(1);
    const std::uint32_t position = player_get_position();
    const std::uint32_t time = player_get_time();
    player_pause();
    playTo(2);
    playTo(3);
    EXPECT_TRUE(silent(playerBlock(1)));
    EXPECT_TRUE(silent(playerBlock(2)));
    EXPECT_EQ(player_get_time(), time);
    EXPECT_EQ(player_get_position(), position);

    player_resume();
    playTo(5);
    EXPECT_EQ(playerBlock(3), reference.blocks[17]);
    // Sixteen blocks of pre-fill and three after it were mixed.
    EXPECT_EQ(player_get_time(), reference.elapsed[18]);
}

TEST_F(Player, SuspendedStartIsSilentAndResumesAtTheFirstRow) {
    const auto song = testSong(4);
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY | PLAY_SUSPENDED), nullptr);
    for (std::uint32_t block = 0; block < 16; ++block) EXPECT_TRUE(silent(playerBlock(block)));
    EXPECT_EQ(player_get_time(), 0u);

    Reference reference(song);
    reference.fill(2);
    player_resume();
    playTo(2);
    EXPECT_EQ(playerBlock(0), reference.blocks[0]);
    EXPECT_EQ(playerBlock(1), reference.blocks[1]);
}

TEST_F(Player, VolumeLevelsScaleTheOutput) {
    const auto song = testSong(8);
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    Reference reference(song);
    reference.fill(20);

    player_set_volume(0);
    playTo(1);
    EXPECT_TRUE(silent(playerBlock(0)));

    player_set_volume(12);  // 1642 / 32768
    playTo(2);
    const Block& unity = reference.blocks[17];
    Block scaled(unity.size());
    for (std::size_t i = 0; i < unity.size(); ++i) {
        const int magnitude = (std::abs(unity[i]) * 1642) >> 15;
        scaled[i] = static_cast<std::int16_t>(unity[i] < 0 ? -magnitude : magnitude);
    }
    EXPECT_EQ(playerBlock(1), scaled);

    player_set_volume(1000);  // above 25 acts as 25
    playTo(3);
    EXPECT_EQ(playerBlock(2), reference.blocks[18]);
}

TEST_F(Player, JumpIsHeardFromTheNextRow) {
    const auto song = testSong(8);
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    Reference reference(song);
    reference.fill(16);

    player_jump_to_order(5);
    reference.player->jumpOrder = 5;
    reference.fill(3);
    playTo(3);
    for (std::uint32_t block = 0; block < 3; ++block) EXPECT_EQ(playerBlock(block), reference.blocks[16 + block]);
    EXPECT_EQ(reference.player->ring[1].position.load() >> 16, 5u);

    // An order beyond the song goes to order 0.
    player_jump_to_order(200);
    reference.player->jumpOrder = 0;
    reference.fill(2);
    playTo(5);
    EXPECT_EQ(playerBlock(3), reference.blocks[19]);
    EXPECT_EQ(playerBlock(4), reference.blocks[20]);
}

TEST_F(Player, NoLoopSongClosesTheDeviceAtItsEnd) {
    const auto song = testSong(3, "Once");  // 24 rows: about 22.5 blocks
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY | PLAY_NO_LOOP), nullptr);
    EXPECT_TRUE(platform::fake::pcmIsOpen());
    std::uint32_t block = 1;
    while (platform::fake::pcmIsOpen() && block < 40) platform::fake::pcmPlayTo(block++ * BLOCK_BYTES);
    EXPECT_FALSE(platform::fake::pcmIsOpen());
    EXPECT_LT(block, 12u);

    // Stopping the ended song only joins its thread, which has already
    // cleared the time and the ring; a new song plays.
    player_stop();
    EXPECT_EQ(player_get_time(), 0u);
    EXPECT_EQ(player_get_position(), 0u);
    EXPECT_EQ(platform::fake::pcmOpenCount(), 1u);
    EXPECT_STREQ(player_get_song_name(), "");
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    EXPECT_TRUE(platform::fake::pcmIsOpen());
}

TEST_F(Player, NoLoopSongEndingWithinThePrefillDoesNotStart) {
    const auto song = testSong(1);
    EXPECT_EQ(player_play(song.data(), song.size(), PLAY_FROM_MEMORY | PLAY_NO_LOOP), nullptr);
    EXPECT_FALSE(platform::fake::pcmIsOpen());
    EXPECT_STREQ(player_get_song_name(), "");
    // Looping, the same song plays.
    EXPECT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
}

TEST_F(Player, SecondSongStopsTheFirstCompletely) {
    const auto first = testSong(4, "First");
    const auto second = testSong(6, "Second");
    ASSERT_NE(player_play(first.data(), first.size(), PLAY_FROM_MEMORY), nullptr);
    playTo(2);
    ASSERT_NE(player_play(second.data(), second.size(), PLAY_FROM_MEMORY), nullptr);
    EXPECT_EQ(platform::fake::pcmOpenCount(), 2u);
    EXPECT_STREQ(player_get_song_name(), "Second");
    Reference reference(second);
    reference.fill(16);
    EXPECT_EQ(player_get_time(), reference.player->elapsedMs.load());
    for (std::uint32_t block = 0; block < 16; ++block) EXPECT_EQ(playerBlock(block), reference.blocks[block]);
}

TEST_F(Player, SourcesThatHoldNoSongReturnNull) {
    EXPECT_EQ(player_play(4242, 0, 0), nullptr);
    EXPECT_EQ(player_play("/nonexistent/song.xm", 0, PLAY_FROM_FILE), nullptr);
    EXPECT_EQ(player_play(nullptr, 0, PLAY_FROM_MEMORY), nullptr);
    const std::vector<std::uint8_t> garbage(2000, 0xFF);
    EXPECT_EQ(player_play(garbage.data(), garbage.size(), PLAY_FROM_MEMORY), nullptr);
    EXPECT_FALSE(platform::fake::pcmIsOpen());
    EXPECT_STREQ(player_get_song_name(), "");
}

TEST_F(Player, NoSoundDeviceFailsTheStart) {
    const auto song = testSong(4);
    platform::fake::pcmRefuseOpen(true);
    EXPECT_EQ(player_play(song.data(), song.size(), PLAY_FROM_MEMORY), nullptr);
    platform::fake::pcmRefuseOpen(false);
}

TEST_F(Player, FileAndResourceSourcesPlayTheSameSong) {
    const auto song = testSong(4);
    const std::string path = (std::filesystem::temp_directory_path() / "whitepine_player_test.xm").string();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(song.data(), 1, song.size(), out);
    std::fclose(out);
    // Memory wins when both source bits are set.
    ASSERT_NE(player_play(song.data(), song.size(), PLAY_FROM_MEMORY | PLAY_FROM_FILE), nullptr);
    const Block fromMemory = playerBlock(15);
    ASSERT_NE(player_play(path.c_str(), 0, PLAY_FROM_FILE), nullptr);
    EXPECT_EQ(playerBlock(15), fromMemory);
    std::filesystem::remove(path);

    // The program's own song, resource 100.
    const platform::Resource resource = platform::findResource(100);
    ASSERT_NE(resource.data, nullptr);
    ASSERT_NE(player_play(100, 0, 0), nullptr);
    Reference reference({static_cast<const std::uint8_t*>(resource.data),
                         static_cast<const std::uint8_t*>(resource.data) + resource.size});
    reference.fill(16);
    EXPECT_EQ(playerBlock(15), reference.blocks[15]);
}

TEST_F(Player, TruncatedMemorySongsNeverReadOutsideTheirBlock) {
    const auto song = testSong(2);
    for (std::size_t length = 0; length < song.size(); length += 7) {
        // A block of exactly `length` bytes, so that a sanitizer sees any
        // read past it.
        const std::vector<std::uint8_t> cut(song.begin(), song.begin() + static_cast<std::ptrdiff_t>(length));
        player_play(cut.data(), cut.size(), PLAY_FROM_MEMORY);
    }
    player_stop();
    EXPECT_FALSE(platform::fake::pcmIsOpen());
}

}  // namespace
