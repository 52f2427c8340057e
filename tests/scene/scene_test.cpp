#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "scene/scene_dump.h"
#include "scene/snow_tables.h"

namespace {

TEST(Scene, StartValues) {
    const Scene scene;
    EXPECT_EQ(scene.overlaySpeed, 0.0f);
    EXPECT_EQ(scene.overlayPhase, 0);
    EXPECT_EQ(scene.flashAlpha, 2.0f);
    EXPECT_EQ(scene.gradientBottomAlpha, 0.1f);
    EXPECT_EQ(scene.gradientTopAlpha, 0.4f);

    EXPECT_EQ(scene.logo.halfHeight, 0.15f);
    EXPECT_EQ(scene.logo.halfWidth, 0.55f);
    EXPECT_EQ(scene.logo.angle, 2.5f);
    EXPECT_EQ(scene.logo.y, 0.3f);
    EXPECT_EQ(scene.logo.x, -0.3f);
    EXPECT_EQ(scene.logo.angleSpeed, 0.0f);
    EXPECT_EQ(scene.logo.anglePhase, 0);
    EXPECT_EQ(scene.texturesLoaded, 0);

    EXPECT_EQ(scene.greetings.scrollCountdown, 78.3f);
    EXPECT_EQ(scene.greetings.textY, 0.77f);
    EXPECT_EQ(scene.dancing.scrollCountdown, 166.45f);
    EXPECT_EQ(scene.dancing.waveTimer10, 2.8f);
    EXPECT_EQ(scene.dancing.rockAngle, 17.0f);

    EXPECT_EQ(scene.snow1.flake(1).xBase, -1.0f);
    EXPECT_EQ(scene.snow1.flake(20).fall, 1.5f);
    EXPECT_EQ(scene.snow2.flake(11).alpha, 0.77f);
    EXPECT_EQ(scene.snow3.flake(9).alpha, 0.77f);
    EXPECT_EQ(scene.snow3.flake(10).xBase, 0.8f);
    // Highest-numbered flake first, channel 3 first.
    EXPECT_EQ(&scene.snow1.flake(20), &scene.snow1.flakes[0]);
    EXPECT_EQ(&scene.snow2.channel(3), &scene.snow2.channels[0]);
}

template <int N>
void expectGroupAtStart(int group, const SnowGroup<N>& snow) {
    const SnowGroupConstants& constants = snowGroupConstants(group);
    ASSERT_EQ(constants.flakes.size(), static_cast<std::size_t>(N));
    for (int k = 1; k <= N; ++k) {
        const Snowflake& flake = snow.flake(k);
        const FlakeConstants& c = constants.flakes[k - 1];
        SCOPED_TRACE("group " + std::to_string(group) + " flake " + std::to_string(k));
        EXPECT_EQ(flake.xBase, c.xBaseStart);
        EXPECT_EQ(flake.fall, c.fallStart);
        EXPECT_EQ(flake.alpha, c.alphaStart);
        EXPECT_EQ(flake.gustSpeed, 0.0f);
        EXPECT_EQ(flake.gustPhase, 0);
        EXPECT_EQ(flake.spinX + flake.spinY + flake.spinZ + flake.drift, 0.0f);
        // On the first frame every flake is at or above the top edge.
        EXPECT_GE(1.0f + flake.fall, 1.0f);
    }
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(snow.channel(c).speed, 0.0f);
        EXPECT_EQ(snow.channel(c).phase, 0);
    }
}

TEST(Scene, EveryFlakeStartsFromItsTable) {
    const Scene scene;
    expectGroupAtStart(1, scene.snow1);
    expectGroupAtStart(2, scene.snow2);
    expectGroupAtStart(3, scene.snow3);
}

TEST(SceneDump, OneUniqueNameValueLinePerMember) {
    const Scene scene;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    dumpScene(scene, out);
    std::rewind(out);
    std::set<std::string> names;
    std::string all;
    char line[256];
    int lines = 0;
    while (std::fgets(line, sizeof line, out) != nullptr) {
        ++lines;
        all += line;
        const char* space = std::strchr(line, ' ');
        ASSERT_NE(space, nullptr) << line;
        names.insert(std::string(line, static_cast<std::size_t>(space - line)));
    }
    std::fclose(out);
    const int flakeLines = 9 * (20 + 13 + 10);
    const int channelLines = 2 * 3 * 3;
    const int textLines = 2 * 50;
    EXPECT_EQ(lines, 5 + channelLines + flakeLines + 15 + textLines + static_cast<int>(assets::TEXTURE_COUNT) + 1);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(lines));
    EXPECT_NE(all.find("\nflashAlpha 2\n"), std::string::npos);
    EXPECT_NE(all.find("\nsnow1.flake3.xBase -0.800000012\n"), std::string::npos);
    EXPECT_NE(all.find("\nsnow2.channel1.speed 0\n"), std::string::npos);
    EXPECT_NE(all.find("\nlogo.angle 2.5\n"), std::string::npos);
    EXPECT_NE(all.find("\nlogo.anglePhase 0\n"), std::string::npos);
    EXPECT_NE(all.find("\ngreetings.scrollX 0\n"), std::string::npos);
    EXPECT_NE(all.find("\ngreetings.wavePhase7 0\n"), std::string::npos);
    EXPECT_NE(all.find("\ndancing.rockAngle 17\n"), std::string::npos);
    EXPECT_NE(all.find("\ntexturesLoaded 0\n"), std::string::npos);
}

}  // namespace
