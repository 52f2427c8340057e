// Which picture stands for which character. Each font directory holds 96
// glyph pictures at fixed positions: digits 0-9, upper-case letters 10-35,
// lower-case letters 36-61 and named symbols 62-95. A font's position p is
// texture-table entry firstEntry + p; the icon glyph belongs to no font.
#pragma once

#include <cstdint>
#include <string_view>

struct GlyphSet {
    int firstEntry;
};

inline constexpr GlyphSet FONT_SET{10};
inline constexpr GlyphSet FONT_SET2{106};
inline constexpr int GLYPHS_PER_SET = 96;
inline constexpr int ICON_GLYPH_ENTRY = 0;

inline constexpr int FIRST_UPPER_POSITION = 10;
inline constexpr int FIRST_LOWER_POSITION = 36;
inline constexpr int FIRST_SYMBOL_POSITION = 62;

// The symbol pictures from position 62 on, in the order of their file names;
// '\0' marks a picture that stands for no character.
inline constexpr std::string_view SYMBOL_CHARACTERS{"&*@\\ \0})],-.\":=!/`_><{([%|+?;\0\0'^~", 34};

// The pictures without a character, named by position.
inline constexpr int CAT_GLYPH_POSITION = 67;
inline constexpr int S_GLYPH_POSITION = 91;
inline constexpr int TRIANGLE_GLYPH_POSITION = 92;

static_assert(FIRST_SYMBOL_POSITION + SYMBOL_CHARACTERS.size() == GLYPHS_PER_SET);
static_assert(SYMBOL_CHARACTERS[CAT_GLYPH_POSITION - FIRST_SYMBOL_POSITION] == '\0');
static_assert(SYMBOL_CHARACTERS[S_GLYPH_POSITION - FIRST_SYMBOL_POSITION] == '\0');
static_assert(SYMBOL_CHARACTERS[TRIANGLE_GLYPH_POSITION - FIRST_SYMBOL_POSITION] == '\0');

// Position of character c within a font, or -1 when no picture stands for it.
// The digit 5 has no picture of its own: its position holds the letter A.
constexpr int glyphPosition(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return FIRST_UPPER_POSITION + (c - 'A');
    }
    if (c >= 'a' && c <= 'z') {
        return FIRST_LOWER_POSITION + (c - 'a');
    }
    if (c == '\0') {
        return -1;
    }
    const std::size_t symbol = SYMBOL_CHARACTERS.find(c);
    if (symbol == std::string_view::npos) {
        return -1;
    }
    return FIRST_SYMBOL_POSITION + static_cast<int>(symbol);
}

constexpr int glyphEntry(GlyphSet set, int position) {
    return set.firstEntry + position;
}
