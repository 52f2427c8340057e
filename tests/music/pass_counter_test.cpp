// Where an offline render stops: returns to the restart position or to rows
// already played, but not the repeats of a pattern loop.
#include <gtest/gtest.h>

#include "tests/music/song_fixture.h"
#include "tools/xmrender/pass_counter.h"

namespace {

// Rows played before the song stopped itself (or the limit).
int rows_until_end(LoadedSong& loaded, PassCounter& counter, int limit = 10000) {
    watch_passes(*loaded.player, counter);
    int rows = 0;
    while (rows < limit) {
        loaded.rows(1);
        if (loaded.player->songEnded) break;
        ++rows;
    }
    return rows;
}

}  // namespace

TEST(PassCounter, RestartCountsAsAPass) {
    XmModule module = basic_module(1, 4);
    module.patterns.push_back(module.patterns[0]);
    module.orders = {0, 1};
    module.restart = 1;
    LoadedSong once;
    ASSERT_TRUE(once.load(module));
    PassCounter none;
    EXPECT_EQ(rows_until_end(once, none), 8);
    EXPECT_TRUE(none.ended);
    EXPECT_EQ(none.endOrder, 1);

    LoadedSong twice;
    ASSERT_TRUE(twice.load(module));
    PassCounter one;
    one.passesLeft = 1;
    EXPECT_EQ(rows_until_end(twice, one), 12);
}

TEST(PassCounter, JumpBackToAPlayedRowEndsThePass) {
    XmModule module = basic_module(1, 4);
    module.patterns.push_back(module.patterns[0]);
    module.orders = {0, 1};
    cell(module, 3, 0, 1) = {0, 0, 0, 11, 1};  // B01 at the end of order 1: never reaches the end
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    PassCounter counter;
    EXPECT_EQ(rows_until_end(loaded, counter), 8);
    EXPECT_EQ(counter.endOrder, 1);
    EXPECT_EQ(counter.endRow, 0);
}

TEST(PassCounter, PatternLoopRepeatsAreNotPasses) {
    XmModule module = basic_module(1, 4);
    cell(module, 0, 0) = {0, 0, 0, 14, 0x60};
    cell(module, 1, 0) = {0, 0, 0, 14, 0x62};
    LoadedSong loaded;
    ASSERT_TRUE(loaded.load(module));
    PassCounter counter;
    EXPECT_EQ(rows_until_end(loaded, counter), 8);  // rows 0 1 0 1 0 1 2 3
}
