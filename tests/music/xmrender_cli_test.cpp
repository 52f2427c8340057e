// Runs the built xmrender on small modules written into a temporary folder:
// exit codes, error lines and the length of what it renders.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "music/module_player.h"
#include "tests/music/song_fixture.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string errors;
};

class XmrenderCli : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("xmrender_cli_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        const std::vector<std::uint8_t> bytes = xm_write(basic_module());
        std::ofstream(dir / "song.xm", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::ofstream(dir / "junk.xm", std::ios::binary) << "not a module at all";
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const char* name) const { return (dir / name).string(); }

    Outcome run(const std::string& arguments) const {
        const std::string errors = path("stderr.txt");
        const std::string command = std::string(XMRENDER) + " " + arguments + " >/dev/null 2>" + errors;
        Outcome result;
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(errors);
        result.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return result;
    }

    // Frames in a rendered 48000 Hz stereo 16-bit WAV file, checked header.
    std::uint64_t frames(const char* name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_GE(bytes.size(), 44u);
        if (bytes.size() < 44) return 0;
        auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at])) |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8 |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 2])) << 16 |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
        };
        EXPECT_EQ(bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(u32(22) & 0xFFFF, 2u);  // channels
        EXPECT_EQ(u32(24), 48000u);
        EXPECT_EQ(u32(34) & 0xFFFF, 16u);  // bits per sample
        EXPECT_EQ(u32(40), bytes.size() - 44);
        return (bytes.size() - 44) / 4;
    }
};

TEST_F(XmrenderCli, UsageErrorsExitTwo) {
    for (const char* arguments : {"", "only_one_argument", "a b c", "--frobnicate a b", "--loops", "--loops x a b",
                                  "--seconds -1 a b", "--volume 26 a b", "--loops 1 --seconds 2 a b"}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_FALSE(result.errors.empty()) << arguments;
    }
    EXPECT_EQ(run("--help").status, 0);
}

TEST_F(XmrenderCli, UnreadableOrRefusedFilesExitOneWithOneLine) {
    for (const std::string& arguments : {path("missing.xm") + " " + path("out.wav"),
                                         path("junk.xm") + " " + path("out.wav"), std::string("@7 ") + path("out.wav"),
                                         std::string("@x ") + path("out.wav"),
                                         path("song.xm") + " " + path("no/such/folder/out.wav")}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        ASSERT_FALSE(result.errors.empty()) << arguments;
        EXPECT_EQ(result.errors.find('\n'), result.errors.size() - 1) << result.errors;
        EXPECT_EQ(result.errors.rfind("xmrender: ", 0), 0u) << result.errors;
    }
}

TEST_F(XmrenderCli, SecondsRenderExactlyThatLong) {
    ASSERT_EQ(run("--seconds 2.5 " + path("song.xm") + " " + path("out.wav")).status, 0);
    EXPECT_EQ(frames("out.wav"), 120000u);
    // Longer than one pass of the song: it loops as the demo does.
    ASSERT_EQ(run("--seconds 20 " + path("song.xm") + " " + path("long.wav")).status, 0);
    EXPECT_EQ(frames("long.wav"), 960000u);
}

TEST_F(XmrenderCli, LoopsAddWholePasses) {
    // One pass: 64 rows of 6 ticks of 960 frames; the render stops at the
    // block in which the next pass would begin.
    constexpr std::uint64_t PASS = 64 * 6 * 960;
    ASSERT_EQ(run(path("song.xm") + " " + path("once.wav")).status, 0);
    ASSERT_EQ(run("--loops 2 " + path("song.xm") + " " + path("thrice.wav")).status, 0);
    const std::uint64_t once = frames("once.wav");
    const std::uint64_t thrice = frames("thrice.wav");
    EXPECT_LE(once, PASS);
    EXPECT_GT(once + music::BLOCK_FRAMES, PASS);
    EXPECT_LE(thrice, 3 * PASS);
    EXPECT_GT(thrice + music::BLOCK_FRAMES, 3 * PASS);
}

TEST_F(XmrenderCli, RendersItsOwnSong) {
    ASSERT_EQ(run("--seconds 1 @100 " + path("song.wav")).status, 0);
    EXPECT_EQ(frames("song.wav"), 48000u);
}

}  // namespace
