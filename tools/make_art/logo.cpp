// The GLIMMERAX logo and the small signature for the corner.
#include "tools/make_art/lettering.h"
#include "tools/make_art/pictures.h"

#include <cmath>

namespace make_art {

namespace {

// A four-pointed glint.
void sparkle(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x - r, y);
    cairo_curve_to(cr, x - r * 0.15, y - r * 0.15, x - r * 0.15, y - r * 0.15, x, y - r);
    cairo_curve_to(cr, x + r * 0.15, y - r * 0.15, x + r * 0.15, y - r * 0.15, x + r, y);
    cairo_curve_to(cr, x + r * 0.15, y + r * 0.15, x + r * 0.15, y + r * 0.15, x, y + r);
    cairo_curve_to(cr, x - r * 0.15, y + r * 0.15, x - r * 0.15, y + r * 0.15, x - r, y);
    cairo_close_path(cr);
    set_colour(cr, 0xFFFFFF);
    cairo_fill(cr);
}

}  // namespace

// Drawn in a 367 x 100 design box, the proportions of the quad it is shown on, then fitted to the picture.
void paint_logo(Canvas& canvas, const Lettering& fonts) {
    cairo_t* cr = canvas.cr();
    constexpr double boxWidth = 367, boxHeight = 100, baseline = 74, stretch = 1.45;
    cairo_scale(cr, canvas.width() / boxWidth, canvas.height() / boxHeight);

    const char* word = "GLIMMERAX";
    fonts.use_condensed_bold(cr, 50);
    cairo_text_extents_t ink;
    cairo_text_extents(cr, word, &ink);
    const double squeeze = std::min(1.0, 335 / ink.width);

    cairo_save(cr);
    cairo_translate(cr, boxWidth / 2, baseline);
    cairo_scale(cr, squeeze, stretch);
    cairo_move_to(cr, -(ink.x_bearing + ink.width / 2), 0);
    cairo_text_path(cr, word);
    cairo_restore(cr);
    cairo_path_t* letters = cairo_copy_path(cr);
    const double capTop = baseline + ink.y_bearing * stretch;

    // Icicles hang wherever a letter rests on the baseline.
    Random random(0x1C1C1E);
    cairo_path_t* icicles;
    {
        cairo_new_path(cr);
        cairo_append_path(cr, letters);
        std::vector<double> feet;
        for (double x = 10; x < boxWidth - 10; x += 1)
            if (cairo_in_fill(cr, x, baseline - 1.5)) feet.push_back(x);
        cairo_new_path(cr);
        double last = -100;
        for (double x : feet) {
            if (x - last < 7 || random.next() < 0.55) continue;
            last = x;
            const double length = random.between(6, 20), half = random.between(1.6, 2.6);
            cairo_move_to(cr, x - half, baseline - 2);
            cairo_line_to(cr, x + half, baseline - 2);
            cairo_line_to(cr, x + random.between(-0.5, 0.5), baseline + length);
            cairo_close_path(cr);
        }
        icicles = cairo_copy_path(cr);
    }

    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    auto both = [&] {
        cairo_new_path(cr);
        cairo_append_path(cr, letters);
        cairo_append_path(cr, icicles);
    };

    // Cold glow, dark rim, then the ice itself.
    both();
    set_colour(cr, 0x66B0FF, 0.3);
    cairo_set_line_width(cr, 11);
    cairo_stroke(cr);
    both();
    set_colour(cr, 0x081634);
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);

    cairo_new_path(cr);
    cairo_append_path(cr, icicles);
    cairo_pattern_t* icicle = cairo_pattern_create_linear(0, baseline, 0, baseline + 20);
    add_stop(icicle, 0, 0xBFE4FF);
    add_stop(icicle, 1, 0xFFFFFF, 0.5);
    cairo_set_source(cr, icicle);
    cairo_fill(cr);
    cairo_pattern_destroy(icicle);

    cairo_new_path(cr);
    cairo_append_path(cr, letters);
    cairo_pattern_t* ice = cairo_pattern_create_linear(0, capTop, 0, baseline);
    add_stop(ice, 0, 0xFFFFFF);
    add_stop(ice, 0.45, 0xD8F1FF);
    add_stop(ice, 0.52, 0x86C6F4);
    add_stop(ice, 1, 0x2B68B5);
    cairo_set_source(cr, ice);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(ice);

    // Snow lying on the tops of the letters.
    cairo_save(cr);
    cairo_clip(cr);
    cairo_move_to(cr, 0, 0);
    for (double x = 0; x <= boxWidth; x += 2)
        cairo_line_to(cr, x, capTop + 7 + 2.2 * std::sin(x * 0.31) + 1.3 * std::sin(x * 0.77 + 1));
    cairo_line_to(cr, boxWidth, 0);
    cairo_close_path(cr);
    set_colour(cr, 0xFFFFFF);
    cairo_fill(cr);
    cairo_restore(cr);

    // A thin shine across the middle of the ice.
    cairo_new_path(cr);
    cairo_append_path(cr, letters);
    cairo_save(cr);
    cairo_clip(cr);
    set_colour(cr, 0xFFFFFF, 0.55);
    cairo_rectangle(cr, 0, capTop + (baseline - capTop) * 0.47, boxWidth, 1.6);
    cairo_fill(cr);
    cairo_restore(cr);

    const double glints[][3] = {{40, capTop + 4, 7}, {178, capTop + 2, 9}, {318, capTop + 6, 6}, {262, baseline - 6, 5}};
    for (const auto& g : glints) sparkle(cr, g[0], g[1], g[2]);

    cairo_path_destroy(letters);
    cairo_path_destroy(icicles);
}

// Drawn in a 200 x 70 design box, the proportions of the corner quad.
void paint_signature(Canvas& canvas, const Lettering& fonts) {
    cairo_t* cr = canvas.cr();
    constexpr double boxWidth = 200, boxHeight = 70;
    cairo_scale(cr, canvas.width() / boxWidth, canvas.height() / boxHeight);

    const double r = 22;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 4 + r, 4 + r, r, pi, 1.5 * pi);
    cairo_arc(cr, boxWidth - 4 - r, 4 + r, r, 1.5 * pi, 2 * pi);
    cairo_arc(cr, boxWidth - 4 - r, boxHeight - 4 - r, r, 0, 0.5 * pi);
    cairo_arc(cr, 4 + r, boxHeight - 4 - r, r, 0.5 * pi, pi);
    cairo_close_path(cr);
    set_colour(cr, 0x0A1230, 0.78);
    cairo_fill_preserve(cr);
    set_colour(cr, 0x9CCBFF);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);

    cairo_save(cr);
    cairo_translate(cr, 34, boxHeight / 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    crystal_path(cr, 4, 20);
    set_colour(cr, 0xFFFFFF);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_restore(cr);

    fonts.use_bold(cr, 30);
    cairo_text_extents_t ink;
    cairo_text_extents(cr, "GLX", &ink);
    cairo_move_to(cr, 125 - (ink.x_bearing + ink.width / 2), boxHeight / 2 - (ink.y_bearing + ink.height / 2));
    cairo_text_path(cr, "GLX");
    set_colour(cr, 0xFFFFFF);
    cairo_fill(cr);
}

}  // namespace make_art
