#include "text/scroll_text_dump.h"
#include "text/scroll_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> dumpLines(const ScrollTextState& state) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    dumpScrollText(file, "greetings", state);
    std::rewind(file);
    std::vector<std::string> lines;
    char line[256];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        lines.emplace_back(line);
    }
    std::fclose(file);
    return lines;
}

TEST(ScrollTextDump, WritesEveryMemberInDeclarationOrder) {
    ScrollTextState state = makeScrollTextState(GREETINGS_START);
    state.wavePhase7 = 3;
    state.waveOffset7 = -0.0625f;
    const auto lines = dumpLines(state);
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[0], "greetings.swaySpeed 0\n");
    EXPECT_EQ(lines[4], "greetings.waveSpeed10 0\n");
    EXPECT_EQ(lines[13], "greetings.waveSpeed1 0\n");
    EXPECT_EQ(lines[14], "greetings.waveTimer10 2.07999992\n");
    EXPECT_EQ(lines[21], "greetings.wavePhase7 3\n");
    EXPECT_EQ(lines[34], "greetings.scrollCountdown 78.3000031\n");
    EXPECT_EQ(lines[35], "greetings.startDelay 0.589999974\n");
    EXPECT_EQ(lines[39], "greetings.waveOffset7 -0.0625\n");
    EXPECT_EQ(lines[45], "greetings.rockAngle 17\n");
    EXPECT_EQ(lines[46], "greetings.waveOffset1 0\n");
    EXPECT_EQ(lines[49], "greetings.swayX 0\n");
}

}  // namespace
