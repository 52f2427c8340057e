// Runs the capture program and checks what it prints, writes and returns.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct CaptureRun {
    int exitCode;
    std::string output;  // stdout and stderr together
};

CaptureRun runCapture(const std::string& arguments) {
    const std::string command = std::string(CAPTURE_PROGRAM) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, "popen failed"};
    std::string output;
    std::array<char, 4096> buffer;
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), got);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::filesystem::path freshDirectory(const std::string& name) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(directory);
    return directory;
}

// Width and height from a PNG file's header chunk; 0 when it is not a PNG.
std::array<std::uint32_t, 2> pngSize(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 24> head{};
    if (!file.read(reinterpret_cast<char*>(head.data()), head.size())) return {0, 0};
    static constexpr unsigned char SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!std::equal(SIGNATURE, SIGNATURE + 8, head.begin()) || std::string(&head[12], &head[16]) != "IHDR")
        return {0, 0};
    auto bigEndian = [&](std::size_t at) {
        return std::uint32_t{head[at]} << 24 | std::uint32_t{head[at + 1]} << 16 | std::uint32_t{head[at + 2]} << 8 |
               head[at + 3];
    };
    return {bigEndian(16), bigEndian(20)};
}

TEST(CaptureCli, HelpExitsZero) {
    const CaptureRun run = runCapture("--help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("usage: capture"), std::string::npos) << run.output;
}

TEST(CaptureCli, WrongUsageExitsTwoWithOneLine) {
    for (const char* arguments : {"", "--bogus", "--frames", "--frames x", "--frames 1,,2", "--frames 3,",
                                  "--frames -1", "--frames 1000001", "--state 1 --frames 2", "--state 1 --out /tmp",
                                  "--state 1 --state 2", "--state 1x"}) {
        const CaptureRun run = runCapture(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.output.rfind("capture: ", 0), 0u) << arguments << ": " << run.output;
        EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << arguments << ": " << run.output;
    }
}

TEST(CaptureCli, WritesExactlyTheFramesAsked) {
    const std::filesystem::path directory = freshDirectory("whitepine_capture_frames");
    const CaptureRun run = runCapture("--frames 2,0,2 --out " + (directory / "made").string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "");
    for (const char* name : {"frame_00000.png", "frame_00002.png"}) {
        const auto size = pngSize(directory / "made" / name);
        EXPECT_EQ(size[0], 600u) << name;
        EXPECT_EQ(size[1], 600u) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(directory / "made" / "frame_00001.png"));
    std::filesystem::remove_all(directory);
}

TEST(CaptureCli, UnwritableOutputExitsOne) {
    const std::filesystem::path directory = freshDirectory("whitepine_capture_blocked");
    std::ofstream(directory.string()) << "a file, not a folder";
    const CaptureRun run = runCapture("--frames 0 --out " + directory.string());
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_EQ(run.output.rfind("capture: ", 0), 0u) << run.output;
    std::filesystem::remove_all(directory);
}

TEST(CaptureCli, StateCountsTheFramesDrawn) {
    const CaptureRun before = runCapture("--state 0");
    ASSERT_EQ(before.exitCode, 0) << before.output;
    EXPECT_NE(before.output.find("\nflashAlpha 2\n"), std::string::npos) << before.output;
    EXPECT_NE(before.output.find("\ntexturesLoaded 0\n"), std::string::npos);

    const CaptureRun after = runCapture("--state 1");
    ASSERT_EQ(after.exitCode, 0) << after.output;
    EXPECT_NE(after.output.find("\ntexturesLoaded 1\n"), std::string::npos);
    EXPECT_EQ(after.output.find("\nflashAlpha 2\n"), std::string::npos) << "the flash did not fade by one step";
}

}  // namespace
