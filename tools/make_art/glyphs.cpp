// The two glyph sets and the icon: one square picture per character.
#include "tools/make_art/lettering.h"
#include "tools/make_art/pictures.h"

#include <cmath>
#include <string>

namespace make_art {

namespace {

struct Style {
    double fontSize, baseline, maxInkWidth, outline, shadow;
    std::uint32_t top, bottom, edge;
};

// Sizes in pixels of the picture each style is designed for; a picture of another size is scaled.
constexpr double largeSize = 64, smallSize = 32;
constexpr Style largeStyle{57, 49.5, 57, 5.0, 2.5, 0xFFFFFF, 0x9CD2FF, 0x0B1738};
constexpr Style smallStyle{28.5, 24.5, 29, 2.6, 1.2, 0xFFE9A0, 0xF08A24, 0x1C1030};

// The cat: a round head with two ears, cut-out eyes; sits on the baseline like a capital.
void cat_path(cairo_t* cr, const Style& s, double size) {
    const double cx = size / 2, r = s.fontSize * 0.33, cy = s.baseline - r;
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
    cairo_close_path(cr);
    // Both ears wind the same way as the head, so the three parts fill as one shape.
    for (int side = -1; side <= 1; side += 2) {
        const double ear[3][2] = {{0.95, -0.1}, {0.9, -1.45}, {0.25, -0.85}};
        cairo_new_sub_path(cr);
        for (int i = 0; i < 3; ++i) {
            const auto& p = ear[side < 0 ? i : (3 - i) % 3];
            cairo_line_to(cr, cx + side * r * p[0], cy + r * p[1]);
        }
        cairo_close_path(cr);
    }
}

void triangle_path(cairo_t* cr, const Style& s, double size) {
    const double side = s.fontSize * 0.8, h = side * std::sqrt(3.0) / 2;
    cairo_move_to(cr, size / 2, s.baseline - h);
    cairo_line_to(cr, size / 2 + side / 2, s.baseline);
    cairo_line_to(cr, size / 2 - side / 2, s.baseline);
    cairo_close_path(cr);
}

// Places text on the baseline, centred on its ink and narrowed if it is too wide.
void text_path(cairo_t* cr, const Style& s, double size, const std::string& text) {
    cairo_text_extents_t ink;
    cairo_text_extents(cr, text.c_str(), &ink);
    const double squeeze = ink.width > s.maxInkWidth ? s.maxInkWidth / ink.width : 1.0;
    cairo_save(cr);
    cairo_translate(cr, size / 2, s.baseline);
    cairo_scale(cr, squeeze, 1.0);
    cairo_move_to(cr, -(ink.x_bearing + ink.width / 2), 0);
    cairo_text_path(cr, text.c_str());
    cairo_restore(cr);
}

// Shadow, outline, then an icy or warm gradient fill: readable over dark sky and white snow alike.
void ink_path(cairo_t* cr, const Style& s) {
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    cairo_save(cr);
    cairo_translate(cr, s.shadow, s.shadow);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    set_colour(cr, 0x000000, 0.45);
    cairo_set_line_width(cr, s.outline);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_restore(cr);

    cairo_new_path(cr);
    cairo_append_path(cr, path);
    set_colour(cr, s.edge);
    cairo_set_line_width(cr, s.outline);
    cairo_stroke_preserve(cr);

    cairo_pattern_t* fill = cairo_pattern_create_linear(0, s.baseline - s.fontSize * 0.75, 0, s.baseline);
    add_stop(fill, 0, s.top);
    add_stop(fill, 1, s.bottom);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    cairo_path_destroy(path);
}

void cut_cat_face(cairo_t* cr, const Style& s, double size) {
    const double cx = size / 2, r = s.fontSize * 0.33, cy = s.baseline - r;
    set_colour(cr, s.edge);
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, cx + side * r * 0.4, cy - r * 0.1);
        cairo_scale(cr, 0.12 * r, 0.2 * r);
        cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, s.outline * 0.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int side = -1; side <= 1; side += 2)
        for (int k = -1; k <= 1; k += 2) {
            cairo_move_to(cr, cx + side * r * 0.2, cy + r * 0.35);
            cairo_line_to(cr, cx + side * r * 0.85, cy + r * (0.3 + 0.12 * k));
        }
    cairo_stroke(cr);
}

}  // namespace

void paint_glyph(Canvas& canvas, const Lettering& fonts, GlyphStyle style, GlyphMark mark) {
    cairo_t* cr = canvas.cr();
    const Style& s = style == GlyphStyle::large ? largeStyle : smallStyle;
    const double size = style == GlyphStyle::large ? largeSize : smallSize;
    const double scale = canvas.width() / size;
    cairo_scale(cr, scale, scale);

    switch (mark.kind) {
        case GlyphMark::cat:
            cat_path(cr, s, size);
            ink_path(cr, s);
            cut_cat_face(cr, s, size);
            return;
        case GlyphMark::triangle:
            triangle_path(cr, s, size);
            ink_path(cr, s);
            return;
        case GlyphMark::section:
            fonts.use_bold(cr, s.fontSize);
            text_path(cr, s, size, "\u00A7");
            ink_path(cr, s);
            return;
        case GlyphMark::letter:
            fonts.use_bold(cr, s.fontSize);
            // The circumflex's picture is named for an upward arrow, and the arrow reads better at this size.
            text_path(cr, s, size, mark.character == '^' ? "\u2191" : std::string(1, mark.character));
            ink_path(cr, s);
            return;
    }
}

void paint_icon(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double size = canvas.width(), c = size / 2;
    cairo_translate(cr, c, c);

    set_colour(cr, 0x000000, 0.4);
    cairo_arc(cr, size * 0.04, size * 0.04, size * 0.45, 0, 2 * pi);
    cairo_fill(cr);

    cairo_pattern_t* ring = cairo_pattern_create_linear(-c, -c, c, c);
    add_stop(ring, 0, 0xFFFFFF);
    add_stop(ring, 0.5, 0x9CC9F5);
    add_stop(ring, 1, 0x3D6FB0);
    cairo_set_source(cr, ring);
    cairo_arc(cr, 0, 0, size * 0.45, 0, 2 * pi);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);

    cairo_pattern_t* disc = cairo_pattern_create_radial(0, -size * 0.1, 0, 0, 0, size * 0.38);
    add_stop(disc, 0, 0x2D4C8F);
    add_stop(disc, 1, 0x0B1636);
    cairo_set_source(cr, disc);
    cairo_arc(cr, 0, 0, size * 0.37, 0, 2 * pi);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    crystal_path(cr, 1, size * 0.3);
    set_colour(cr, 0x8FC4FF, 0.6);
    cairo_set_line_width(cr, size * 0.06);
    cairo_stroke_preserve(cr);
    set_colour(cr, 0xFFFFFF);
    cairo_set_line_width(cr, size * 0.03);
    cairo_stroke(cr);
}

}  // namespace make_art
