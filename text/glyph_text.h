// A fixed text turned into texture-table entries while compiling. A character
// without a picture, or the digit 5 (whose position shows an A), stops the
// build rather than drawing a wrong glyph, and so does a wrong glyph count.
#pragma once

#include "text/glyph_map.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

using GlyphEntry = std::uint8_t;

template <std::size_t N>
struct GlyphText {
    GlyphSet set;
    std::array<GlyphEntry, N> entries{};
    std::size_t length = 0;

    constexpr explicit GlyphText(GlyphSet glyphSet) : set(glyphSet) {}

    constexpr GlyphText& add(std::string_view chars) {
        for (const char c : chars) {
            if (c == '5') {
                throw "the digit 5 would show as the letter A";
            }
            const int position = glyphPosition(c);
            if (position < 0) {
                throw "character without a glyph";
            }
            addEntry(glyphEntry(set, position));
        }
        return *this;
    }

    constexpr GlyphText& addIcon() {
        addEntry(ICON_GLYPH_ENTRY);
        return *this;
    }

    constexpr GlyphText& addEntry(int entry) {
        if (length == N) {
            throw "text longer than its glyph count";
        }
        entries[length++] = static_cast<GlyphEntry>(entry);
        return *this;
    }

    constexpr std::array<GlyphEntry, N> finish() const {
        if (length != N) {
            throw "text shorter than its glyph count";
        }
        return entries;
    }
};
