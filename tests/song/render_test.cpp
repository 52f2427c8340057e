// The committed song through the player's own loader, sequencer and mixer:
// it loads as the composer meant it, fits unity volume and loops seamlessly.
#include "music/module_player.h"
#include "platform/platform.h"
#include "tools/compose_song/score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

std::vector<uint8_t> readSong() {
    std::ifstream in(WHITEPINE_SONG_PATH, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A player with the committed song loaded from memory.
struct LoadedSong {
    std::vector<uint8_t> bytes = readSong();
    std::unique_ptr<music::ModulePlayer> player = std::make_unique<music::ModulePlayer>();
    bool loaded = false;

    LoadedSong() {
        player->source = music::MEMORY_SOURCE;
        player->sourceBase = bytes.data();
        player->sourceSize = static_cast<int32_t>(bytes.size());
        player->heap = platform::heapCreate();
        if (!player->heap || bytes.empty()) return;
        loaded = music::load_song(*player);
        player->source.close(*player);
        player->masterVolume = music::UNITY_VOLUME;
    }
    ~LoadedSong() {
        if (player->heap) platform::heapDestroy(player->heap);
    }
};

// Stops the song at the first row after the order list wrapped around.
bool stopAtRestart(void* context, const music::ModulePlayer& player, bool restarted) {
    if (restarted) *static_cast<int32_t*>(context) = player.order;
    return !restarted;
}

TEST(WhitepineSong, LoadsWithTheShapeTheToolMeant) {
    LoadedSong s;
    ASSERT_TRUE(s.loaded);
    const XmModule meant = compose_whitepine();
    const music::Song& song = s.player->song;
    EXPECT_EQ(song.channelCount, meant.channels);
    EXPECT_EQ(song.patternCount, meant.patterns.size());
    EXPECT_EQ(song.instrumentCount, meant.instruments.size());
    EXPECT_EQ(song.length, meant.orders.size());
    EXPECT_EQ(song.restartPosition, WHITEPINE_RESTART);
    EXPECT_EQ(song.flags & music::SONG_LINEAR_PERIODS, music::SONG_LINEAR_PERIODS);
    EXPECT_STREQ(song.name, "Whitepine Nocturne");
}

TEST(WhitepineSong, OnePassLastsWhatThePlanSays) {
    LoadedSong s;
    ASSERT_TRUE(s.loaded);
    int32_t restartOrder = -1;
    s.player->rowWatch = stopAtRestart;
    s.player->rowWatchContext = &restartOrder;
    int64_t frames = 0;
    for (int ticks = 0; ticks < 1000000 && !s.player->songEnded; ++ticks) {
        s.player->samplesLeftInTick = 0;
        music::sequencer_tick(*s.player);
        if (!s.player->songEnded) frames += s.player->samplesLeftInTick;
    }
    EXPECT_EQ(restartOrder, WHITEPINE_RESTART);
    EXPECT_EQ(frames, whitepine_length_frames());
}

// One pass of the song and two seconds into the next, at unity volume.
class WhitepineRender : public testing::Test {
protected:
    static void SetUpTestSuite() {
        LoadedSong s;
        ASSERT_TRUE(s.loaded);
        const auto wanted = static_cast<size_t>(whitepine_length_frames() + 2 * platform::PCM_RATE);
        while (samples_.size() < 2 * wanted && music::fill_block(*s.player)) {
            const uint32_t block = (s.player->fillBlock + music::BLOCK_COUNT - 1) % music::BLOCK_COUNT;
            const int16_t* out = s.player->output + block * music::BLOCK_FRAMES * 2;
            samples_.insert(samples_.end(), out, out + music::BLOCK_FRAMES * 2);
        }
        ASSERT_GE(samples_.size(), 2 * wanted);
    }

    static double rmsDb(size_t fromFrame, size_t toFrame) {
        double sum = 0.0;
        for (size_t i = 2 * fromFrame; i < 2 * toFrame; ++i) sum += static_cast<double>(samples_[i]) * samples_[i];
        return 10.0 * std::log10(sum / static_cast<double>(2 * (toFrame - fromFrame)) / (32768.0 * 32768.0));
    }

    // Largest step between neighbouring frames of one side.
    static int largestJump(size_t fromFrame, size_t toFrame) {
        int largest = 0;
        for (size_t i = 2 * fromFrame + 2; i < 2 * toFrame; ++i)
            largest = std::max(largest, std::abs(samples_[i] - samples_[i - 2]));
        return largest;
    }

    static inline std::vector<int16_t> samples_;
};

TEST_F(WhitepineRender, FitsUnityVolume) {
    const auto pass = static_cast<size_t>(whitepine_length_frames());
    const auto clipped = std::count_if(samples_.begin(), samples_.begin() + static_cast<ptrdiff_t>(2 * pass),
                                       [](int16_t v) { return v >= 32767 || v <= -32767; });
    EXPECT_LE(static_cast<double>(clipped), 2.0 * static_cast<double>(pass) * 0.0001);
    const double rms = rmsDb(0, pass);
    EXPECT_GE(rms, -20.0);
    EXPECT_LE(rms, -12.0);
}

TEST_F(WhitepineRender, LoopJoinsWithoutAJumpOrAGap) {
    const auto join = static_cast<size_t>(whitepine_length_frames());
    const size_t window = platform::PCM_RATE / 20;
    EXPECT_LE(largestJump(join - window, join + window), largestJump(0, join - window));
    // The music carries on at the same strength across the join.
    const size_t quarter = platform::PCM_RATE / 4;
    EXPECT_NEAR(rmsDb(join, join + quarter), rmsDb(join - quarter, join), 6.0);
}

}  // namespace
