// The painters: each fills a canvas of its picture's size.
#pragma once

#include "tools/make_art/canvas.h"

namespace make_art {

void paint_background(Canvas& canvas);  // BG.png: the valley at dusk
void paint_foreground(Canvas& canvas);  // FG.png: drifts and pines along the bottom edge
void paint_flake(Canvas& canvas, int number);  // Flake_1 .. Flake_5

class Lettering;
void paint_logo(Canvas& canvas, const Lettering& fonts);       // Main.png
void paint_signature(Canvas& canvas, const Lettering& fonts);  // HUG.png
void paint_icon(Canvas& canvas);                               // font_icon/Qorv.png

enum class GlyphStyle { large, small };
// What a glyph picture shows: a printable character (a space shows nothing), or a picture that stands
// for no character.
struct GlyphMark {
    enum Kind { letter, cat, section, triangle } kind = letter;
    char character = ' ';
};
void paint_glyph(Canvas& canvas, const Lettering& fonts, GlyphStyle style, GlyphMark mark);

// The path of six-fold crystal `number` (1 to 5) centred at the origin, to be stroked.
void crystal_path(cairo_t* cr, int number, double radius);

}  // namespace make_art
