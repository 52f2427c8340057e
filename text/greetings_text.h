// The greetings line: everyone we greet, then the bearded one, in the small font.
#pragma once

#include "text/glyph_text.h"

#include <array>
#include <cstddef>
#include <string_view>

inline constexpr std::array<std::string_view, 41> GREETED_NAMES{
    "Bramwort",   "Quillfen",   "Snowgoats", "Larkspur-99", "Mosstink",      "Vexlowe",
    "Orrinbay",   "Pinecone Crew", "Hobdrift", "Zarvikk",   "Glintmoor",     "Fernhollow 3",
    "Tussock",    "Wobbler",    "Kettlebrite", "Icewick",   "Murrowen",      "Duskfern",
    "Plinthy",    "Crumbles",   "Yarrowgate", "Nimbleknot", "Skelpie",       "Snailwin",
    "Goldrook",   "Thimble",    "Ashmuir",   "Cobbledash",  "Frostquill",    "Loomrig",
    "Pebbles",    "Sorrel",     "Drizzle",   "Hazelmote",   "Quernly",       "Bilberry 64",
    "Umber",      "Sprattle",   "Wicker",    "Mizzle",      "Corven",
};
inline constexpr std::string_view GREETINGS_OPENING{"GREETZ: "};
inline constexpr std::string_view GREETINGS_SEPARATOR{", "};
inline constexpr std::string_view GREETINGS_TRIBUTE{
    " AND, OF COURSE, THE FATHER OF US ALL, THE ONE AND ONLY, MIGHTY-BEARDED "};
inline constexpr std::string_view GREETINGS_LAST_NAME{"Yrsko"};
inline constexpr std::string_view GREETINGS_CLOSING{"!!!"};

constexpr std::size_t greetedNameGlyphs() {
    std::size_t total = 0;
    for (const std::string_view name : GREETED_NAMES) {
        total += name.size();
    }
    return total;
}
static_assert(greetedNameGlyphs() == 333);
static_assert(GREETINGS_LAST_NAME.size() == 5);

inline constexpr std::size_t GREETINGS_GLYPH_COUNT = GREETINGS_OPENING.size() + greetedNameGlyphs() +
                                                     (GREETED_NAMES.size() - 1) * GREETINGS_SEPARATOR.size() +
                                                     GREETINGS_TRIBUTE.size() + GREETINGS_LAST_NAME.size() +
                                                     GREETINGS_CLOSING.size();
static_assert(GREETINGS_GLYPH_COUNT == 501);

inline constexpr std::array<GlyphEntry, GREETINGS_GLYPH_COUNT> GREETINGS_GLYPHS = [] {
    GlyphText<GREETINGS_GLYPH_COUNT> text{FONT_SET2};
    text.add(GREETINGS_OPENING);
    for (std::size_t n = 0; n < GREETED_NAMES.size(); ++n) {
        if (n > 0) {
            text.add(GREETINGS_SEPARATOR);
        }
        text.add(GREETED_NAMES[n]);
    }
    text.add(GREETINGS_TRIBUTE).add(GREETINGS_LAST_NAME).add(GREETINGS_CLOSING);
    return text.finish();
}();
