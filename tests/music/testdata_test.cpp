// The shared test modules: each loads or is refused, and plays without fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "music/module_player.h"
#include "tools/xmrender/pass_counter.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> modules(const char* folder) {
    std::vector<fs::path> paths;
    const fs::path directory = fs::path(WHITEPINE_TESTDATA) / "xm" / folder;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error))
        if (entry.path().extension() == ".xm") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

struct FileSong {
    std::unique_ptr<music::ModulePlayer> player = std::make_unique<music::ModulePlayer>();
    std::string path;
    explicit FileSong(const fs::path& file) : path(file.string()) {
        player->heap = platform::heapCreate();
        player->source = music::FILE_SOURCE;
        player->sourcePath = path.c_str();
        player->masterVolume = music::UNITY_VOLUME;
    }
    ~FileSong() { platform::heapDestroy(player->heap); }
    bool load() {
        const bool loaded = music::load_song(*player);
        player->source.close(*player);
        return loaded;
    }
    // Blocks filled until the song ended or the limit came.
    std::uint32_t render(std::uint32_t blocks) {
        std::uint32_t filled = 0;
        while (filled < blocks && music::fill_block(*player)) ++filled;
        return filled;
    }
};

constexpr std::uint32_t BLOCKS_PER_MINUTE = 60 * 48000 / 1024;

}  // namespace

TEST(TestData, CasesLoadOrAreRefusedAndPlayAMinute) {
    const std::vector<fs::path> cases = modules("cases");
    if (cases.empty()) GTEST_SKIP() << "no shared XM test cases";
    int loaded = 0;
    for (const fs::path& file : cases) {
        FileSong song(file);
        if (!song.load()) continue;
        ++loaded;
        EXPECT_EQ(song.render(BLOCKS_PER_MINUTE), BLOCKS_PER_MINUTE) << file;
    }
    EXPECT_GE(loaded, static_cast<int>(cases.size()) - 10);
}

TEST(TestData, RealModulesPlayThroughToTheirEnd) {
    const std::vector<fs::path> real = modules("real");
    if (real.empty()) GTEST_SKIP() << "no shared real modules";
    for (const fs::path& file : real) {
        FileSong song(file);
        // The loader's checks refuse two of them: one is in the layout
        // before version 1.04 (instrument headers ahead of the patterns),
        // the other has an instrument with 23 samples (16 at most).
        const std::string name = file.filename().string();
        if (name == "dontyou.xm" || name == "grass_near_the_house.xm") {
            EXPECT_FALSE(song.load()) << file;
            continue;
        }
        ASSERT_TRUE(song.load()) << file;
        // Once through: to the end of the order list, or to where a jump
        // returns to a row already played.
        PassCounter counter;
        watch_passes(*song.player, counter);
        const std::uint32_t blocks = song.render(30 * BLOCKS_PER_MINUTE);
        EXPECT_TRUE(counter.ended) << file;
        EXPECT_GT(blocks, BLOCKS_PER_MINUTE) << file;
    }
}
