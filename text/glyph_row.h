// Where the glyphs of a text sit along its line. Positions are given in exact
// hundredths, so that every glyph's x is the float nearest to its decimal
// value rather than a sum that picks up rounding error glyph after glyph.
#pragma once

#include <array>
#include <cstddef>

// Both rows start right of the window and run further right.
struct GlyphRow {
    int firstXHundredths;    // x of glyph 0, not negative
    int advanceHundredths;   // distance from one glyph to the next
    float halfSize;          // half-width and half-height of every glyph's square
};

inline constexpr GlyphRow GREETINGS_ROW{215, 15, 0.07f};
inline constexpr GlyphRow DANCING_ROW{235, 35, 0.15f};

// x of glyph i: the float nearest to (first + i * advance) / 100.
float glyphX(const GlyphRow& row, std::size_t index);

// How far the line jumps back right once its last glyph has left the window:
// glyph 0's x plus one advance per glyph plus 1.0, so that the last glyph is
// past the left edge before the line starts over.
constexpr double wrapDistance(const GlyphRow& row, std::size_t glyphCount) {
    const long hundredths = row.firstXHundredths + row.advanceHundredths * static_cast<long>(glyphCount) + 100;
    return static_cast<double>(hundredths) / 100.0;
}

// The x of every glyph of a text, worked out once.
template <std::size_t N>
std::array<float, N> glyphXs(const GlyphRow& row) {
    std::array<float, N> xs{};
    for (std::size_t i = 0; i < N; ++i) {
        xs[i] = glyphX(row, i);
    }
    return xs;
}
