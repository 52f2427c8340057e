// Compiled, not run: a fixed text with a character that has no picture of its
// own must stop the build. GLYPH_TEXT_CASE picks the text.
#include "text/glyph_text.h"

#if GLYPH_TEXT_CASE == 0
constexpr auto TEXT = GlyphText<4>{FONT_SET}.add("A ").addIcon().add("z").finish();
#elif GLYPH_TEXT_CASE == 1
constexpr auto TEXT = GlyphText<3>{FONT_SET}.add("A5B").finish();
#elif GLYPH_TEXT_CASE == 2
constexpr auto TEXT = GlyphText<3>{FONT_SET2}.add("A#B").finish();
#elif GLYPH_TEXT_CASE == 3
constexpr auto TEXT = GlyphText<4>{FONT_SET2}.add("ABC").finish();
#endif
