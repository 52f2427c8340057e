#include "image/asset_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "text/glyph_map.h"

using assets::texturePaths;

TEST(AssetPaths, SinglePicturesComeFirstInLoadOrder) {
    const char* expected[] = {"RC\\font_icon\\Qorv.png", "RC\\Flake_1.png", "RC\\Flake_2.png", "RC\\Flake_3.png",
                              "RC\\Flake_4.png",         "RC\\Flake_5.png", "RC\\Main.png",    "RC\\HUG.png",
                              "RC\\BG.png",              "RC\\FG.png"};
    for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(texturePaths()[i], expected[i]) << i;
}

TEST(AssetPaths, GlyphSetsFollowInTheSameOrder) {
    const auto& paths = texturePaths();
    for (std::size_t p = 0; p < assets::GLYPH_COUNT; ++p) {
        const std::string name(assets::glyphFileNames[p]);
        EXPECT_EQ(paths[static_cast<std::size_t>(FONT_SET.firstEntry) + p], "RC\\font_set\\" + name);
        EXPECT_EQ(paths[static_cast<std::size_t>(FONT_SET2.firstEntry) + p], "RC\\font_set2\\" + name);
    }
    EXPECT_EQ(paths[10 + 36], "RC\\font_set\\lc_A.png");
    EXPECT_EQ(paths[106 + 61], "RC\\font_set2\\lc_Z.png");
    EXPECT_EQ(paths[106 + 62], "RC\\font_set2\\andsymbol.png");
    EXPECT_EQ(paths.back(), "RC\\font_set2\\wavesymbol.png");
}

TEST(AssetPaths, TwoHundredFilesWithOnlyTheLetterALoadedTwice) {
    const auto& paths = texturePaths();
    const std::set<std::string> distinct(paths.begin(), paths.end());
    EXPECT_EQ(distinct.size(), 200u);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "RC\\font_set\\A.png"), 2);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "RC\\font_set2\\A.png"), 2);
    EXPECT_EQ(paths[10 + 5], paths[10 + 10]);
    EXPECT_EQ(paths[106 + 5], paths[106 + 10]);
    for (const std::string& path : paths) EXPECT_EQ(path.find("\\5.png"), std::string::npos) << path;
}

TEST(AssetPaths, NamedSymbolsAreInFileNameOrder) {
    const auto first = assets::glyphFileNames.begin() + FIRST_SYMBOL_POSITION;
    EXPECT_TRUE(std::is_sorted(first, assets::glyphFileNames.end()));
    EXPECT_EQ(assets::glyphFileNames.end() - first, 34);
}

// The text side names the characterless pictures by position; they must be the files of those names.
TEST(AssetPaths, AgreesWithTheGlyphMapOnNamedPositions) {
    EXPECT_EQ(assets::glyphFileNames[CAT_GLYPH_POSITION], "catsymbol.png");
    EXPECT_EQ(assets::glyphFileNames[S_GLYPH_POSITION], "ssymbol.png");
    EXPECT_EQ(assets::glyphFileNames[TRIANGLE_GLYPH_POSITION], "trianglesymbol.png");
    EXPECT_EQ(assets::glyphFileNames[FIRST_UPPER_POSITION], "A.png");
    EXPECT_EQ(assets::glyphFileNames[FIRST_LOWER_POSITION], "lc_A.png");
    EXPECT_EQ(static_cast<std::size_t>(GLYPHS_PER_SET), assets::GLYPH_COUNT);
}

TEST(AssetPaths, MapsBackslashesToThePlatformSeparator) {
#ifdef _WIN32
    EXPECT_EQ(assets::toPlatformPath("RC\\font_set2\\lc_A.png"), "RC\\font_set2\\lc_A.png");
#else
    EXPECT_EQ(assets::toPlatformPath("RC\\font_set2\\lc_A.png"), "RC/font_set2/lc_A.png");
#endif
    EXPECT_EQ(assets::toPlatformPath("RC"), "RC");
    EXPECT_EQ(assets::toPlatformPath(""), "");
}
