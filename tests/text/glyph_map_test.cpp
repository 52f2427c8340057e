#include "image/asset_paths.h"
#include "text/dancing_text.h"
#include "text/glyph_map.h"
#include "text/greetings_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <string_view>

namespace {

TEST(GlyphMap, LetterCaseSelectsDistinctPictures) {
    EXPECT_EQ(glyphPosition('A'), 10);
    EXPECT_EQ(glyphPosition('a'), 36);
    EXPECT_EQ(glyphPosition('Z'), 35);
    EXPECT_EQ(glyphPosition('z'), 61);
    EXPECT_EQ(glyphEntry(FONT_SET, glyphPosition('A')), 20);
    EXPECT_EQ(glyphEntry(FONT_SET2, glyphPosition('a')), 142);
}

TEST(GlyphMap, EveryPrintableCharacterButNumberAndDollarSignHasItsOwnPicture) {
    std::set<int> positions;
    for (char c = ' '; c <= '~'; ++c) {
        const int position = glyphPosition(c);
        if (c == '#' || c == '$') {
            EXPECT_EQ(position, -1) << c;
            continue;
        }
        ASSERT_GE(position, 0) << c;
        ASSERT_LT(position, GLYPHS_PER_SET) << c;
        positions.insert(position);
    }
    // 93 characters with a picture on 93 distinct positions; the three
    // characterless pictures are the only positions left over besides 5.
    EXPECT_EQ(positions.size(), 93u);
    EXPECT_EQ(positions.count(CAT_GLYPH_POSITION), 0u);
    EXPECT_EQ(positions.count(S_GLYPH_POSITION), 0u);
    EXPECT_EQ(positions.count(TRIANGLE_GLYPH_POSITION), 0u);
    EXPECT_EQ(glyphPosition('\0'), -1);
    EXPECT_EQ(glyphPosition('\t'), -1);
    EXPECT_EQ(glyphPosition(static_cast<char>(0xE9)), -1);
}

std::string pathOf(int entry) {
    return assets::texturePaths()[static_cast<std::size_t>(entry)];
}

TEST(GlyphMap, EntriesNameThePicturesOfTheLoadOrder) {
    const std::pair<char, const char*> pictures[] = {
        {'0', "0.png"}, {'9', "9.png"}, {'5', "A.png"}, {'A', "A.png"}, {'Z', "Z.png"}, {'a', "lc_A.png"},
        {'i', "lc_I.png"}, {'z', "lc_Z.png"},
        {'&', "andsymbol.png"}, {'*', "asterisksymbol.png"}, {'@', "atsymbol.png"}, {'\\', "backslash.png"},
        {' ', "blank.png"}, {'}', "closecurlybracket.png"}, {')', "closeparenthesissymbol.png"},
        {']', "closesquarebracket.png"}, {',', "commasymbol.png"}, {'-', "dashsymbol.png"}, {'.', "dotsymbol.png"},
        {'"', "doublecommasymbol.png"}, {':', "doubledotsymbol.png"}, {'=', "equalsymbol.png"},
        {'!', "exclamationmark.png"}, {'/', "forwardslashsymbol.png"}, {'`', "inverteduppercommasymbol.png"},
        {'_', "lowerdashsymbol.png"}, {'>', "majorsymbol.png"}, {'<', "minorsymbol.png"},
        {'{', "opencurlybracket.png"}, {'(', "openparenthesissymbol.png"}, {'[', "opensquarebracket.png"},
        {'%', "percentagesymbol.png"}, {'|', "pipesymbol.png"}, {'+', "plussymbol.png"}, {'?', "questionmark.png"},
        {';', "semicolonsymbol.png"}, {'\'', "uppercommasymbol.png"}, {'^', "upwardarrowsymbol.png"},
        {'~', "wavesymbol.png"},
    };
    for (const auto& [c, file] : pictures) {
        EXPECT_EQ(pathOf(glyphEntry(FONT_SET, glyphPosition(c))), std::string("RC\\font_set\\") + file) << c;
        EXPECT_EQ(pathOf(glyphEntry(FONT_SET2, glyphPosition(c))), std::string("RC\\font_set2\\") + file) << c;
    }
    EXPECT_EQ(pathOf(glyphEntry(FONT_SET, CAT_GLYPH_POSITION)), "RC\\font_set\\catsymbol.png");
    EXPECT_EQ(pathOf(glyphEntry(FONT_SET2, S_GLYPH_POSITION)), "RC\\font_set2\\ssymbol.png");
    EXPECT_EQ(pathOf(glyphEntry(FONT_SET2, TRIANGLE_GLYPH_POSITION)), "RC\\font_set2\\trianglesymbol.png");
    EXPECT_EQ(pathOf(ICON_GLYPH_ENTRY), "RC\\font_icon\\Qorv.png");
    // The digit 5 and the letter A are two loads of one picture: distinct entries.
    EXPECT_NE(glyphEntry(FONT_SET, glyphPosition('5')), glyphEntry(FONT_SET, glyphPosition('A')));
}

constexpr int entryOf(GlyphSet set, char c) {
    return glyphEntry(set, glyphPosition(c));
}

TEST(DancingText, IsTheMessageInTheLargeFontWithTheIconTwice) {
    ASSERT_EQ(DANCING_GLYPHS.size(), 466u);
    EXPECT_EQ(DANCING_GLYPHS[130], ICON_GLYPH_ENTRY);
    EXPECT_EQ(DANCING_GLYPHS[464], ICON_GLYPH_ENTRY);
    EXPECT_EQ(std::count(DANCING_GLYPHS.begin(), DANCING_GLYPHS.end(), ICON_GLYPH_ENTRY), 2);
    EXPECT_EQ(DANCING_GLYPHS[0], entryOf(FONT_SET, 'O'));
    EXPECT_EQ(DANCING_GLYPHS[2], entryOf(FONT_SET, ' '));
    EXPECT_EQ(DANCING_GLYPHS[465], entryOf(FONT_SET, '!'));
    // "WiTH" starts at index 63: its i is the lower-case picture lc_I.
    EXPECT_EQ(DANCING_GLYPHS[63], entryOf(FONT_SET, 'W'));
    EXPECT_EQ(DANCING_GLYPHS[64], FONT_SET.firstEntry + FIRST_LOWER_POSITION + ('i' - 'a'));
    for (std::size_t i = 0; i < DANCING_GLYPHS.size(); ++i) {
        if (i != 130 && i != 464) {
            EXPECT_GE(DANCING_GLYPHS[i], FONT_SET.firstEntry) << i;
            EXPECT_LT(DANCING_GLYPHS[i], FONT_SET.firstEntry + GLYPHS_PER_SET) << i;
        }
    }
}

TEST(GreetingsText, IsBuiltFromItsPartsInTheSmallFont) {
    ASSERT_EQ(GREETINGS_GLYPHS.size(), 501u);
    std::string_view expectedStart = "GREETZ: ";
    for (std::size_t i = 0; i < expectedStart.size(); ++i) {
        EXPECT_EQ(GREETINGS_GLYPHS[i], entryOf(FONT_SET2, expectedStart[i])) << i;
    }
    std::string_view expectedEnd = " MIGHTY-BEARDED Yrsko!!!";
    const std::size_t endStart = GREETINGS_GLYPHS.size() - expectedEnd.size();
    for (std::size_t i = 0; i < expectedEnd.size(); ++i) {
        EXPECT_EQ(GREETINGS_GLYPHS[endStart + i], entryOf(FONT_SET2, expectedEnd[i])) << i;
    }
    for (const GlyphEntry entry : GREETINGS_GLYPHS) {
        EXPECT_GE(entry, FONT_SET2.firstEntry);
        EXPECT_NE(entry, FONT_SET2.firstEntry + 5);  // the digit 5 would show an A
    }
    // 40 separators ", " between the 41 names, 4 commas in the tribute.
    const auto commas = std::count(GREETINGS_GLYPHS.begin(), GREETINGS_GLYPHS.end(), entryOf(FONT_SET2, ','));
    EXPECT_EQ(commas, 40 + 4);
}

}  // namespace
