// The dancing text: the demo's main message in the large font, with the icon
// glyph standing in twice.
#pragma once

#include "text/glyph_text.h"

#include <array>
#include <cstddef>

inline constexpr std::size_t DANCING_GLYPH_COUNT = 466;

inline constexpr std::array<GlyphEntry, DANCING_GLYPH_COUNT> DANCING_GLYPHS =
    GlyphText<DANCING_GLYPH_COUNT>{FONT_SET}
        .add("OH NOES!! A DANCING TEXT ARRIVED! HELLO WORLD, GLIMMERAX HERE, WiTH OUR COOL INTRO! "
             "iN OUR THOUGHT OF DOING SOMETHING SPECIAL FOR ")
        .addIcon()
        .add(" WE DEDICATE OUR FiRST PROD TO ALL Qorvrs! HOPE YOU ENJOY THE SCROLLER AND THE KICKASS MUSIC! "
             "WE'D LIKE TO THANK THE Qorv COMMUNiTY FOR BEiNG TOTALLY AMAZiNG! KEEP MAKiNG AWESOME THiNGS! "
             "AND NOW FOR THE CREDiTS: * [MUSIC] Tamrel, Lunet & Pashem * [GFX] Pashem & Lunet * [CODE] FeNTOQRIL "
             "* THANKS FOR WATCHING THE DEMO! CYA AROUND ON ")
        .addIcon()
        .add("!")
        .finish();
