// Five six-fold snow crystals. Each is one arm, drawn six times around the centre.
#include "tools/make_art/pictures.h"

#include <cmath>

namespace make_art {

namespace {

// Strokes for one arm pointing up (negative y), in units of the crystal's radius.
void arm(cairo_t* cr, int number) {
    auto line = [cr](double x0, double y0, double x1, double y1) {
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
    };
    auto branch_pair = [&](double at, double length, double angle) {
        const double dx = length * std::sin(angle), dy = length * std::cos(angle);
        line(0, -at, dx, -at - dy);
        line(0, -at, -dx, -at - dy);
    };
    switch (number) {
        case 1:  // fern: a long spoke with four pairs of branches
            line(0, 0, 0, -0.95);
            for (int i = 0; i < 4; ++i) branch_pair(0.3 + 0.16 * i, 0.34 - 0.07 * i, pi / 3);
            break;
        case 2:  // stellar plate: short broad arms ending in small plates
            line(0, 0, 0, -0.7);
            branch_pair(0.45, 0.18, pi / 3);
            cairo_new_sub_path(cr);
            for (int i = 0; i < 6; ++i) {
                const double a = i * pi / 3;
                cairo_line_to(cr, 0.14 * std::sin(a), -0.82 + 0.14 * std::cos(a));
            }
            cairo_close_path(cr);
            break;
        case 3:  // capped dendrite: a small hexagon at the centre, two long branch pairs, a bead at the tip
            line(0, -0.22, 0, -0.8);
            line(0, -0.22, 0.22 * std::sin(pi / 3), -0.22 * std::cos(pi / 3));
            branch_pair(0.36, 0.3, pi / 3.6);
            branch_pair(0.58, 0.2, pi / 3.6);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0, -0.86, 0.07, 0, 2 * pi);
            break;
        case 4:  // forked tips
            line(0, 0, 0, -0.6);
            branch_pair(0.6, 0.38, pi / 6);
            branch_pair(0.3, 0.15, pi / 2.5);
            break;
        default:  // needles through a hexagonal frame
            line(0, -0.2, 0, -1.0);
            branch_pair(0.75, 0.2, pi / 3);
            line(0, -0.45, 0.45 * std::sin(pi / 3), -0.45 * std::cos(pi / 3));
            break;
    }
}

}  // namespace

void crystal_path(cairo_t* cr, int number, double radius) {
    for (int i = 0; i < 6; ++i) {
        cairo_save(cr);
        cairo_rotate(cr, i * pi / 3);
        cairo_scale(cr, radius, radius);
        arm(cr, number);
        cairo_restore(cr);
    }
    if (number == 5) {  // a small ring at the centre
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, radius * 0.12, 0, 2 * pi);
    }
}

void paint_flake(Canvas& canvas, int number) {
    cairo_t* cr = canvas.cr();
    const double size = canvas.width();
    const double radius = size * 0.44;
    cairo_translate(cr, size / 2, size / 2);
    cairo_rotate(cr, number * 0.13);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // A cold blue halo under white ice keeps the crystal visible over snow as well as sky.
    crystal_path(cr, number, radius);
    set_colour(cr, 0x7FB2FF, 0.55);
    cairo_set_line_width(cr, size * 0.085);
    cairo_stroke_preserve(cr);
    set_colour(cr, 0xFFFFFF);
    cairo_set_line_width(cr, size * 0.04);
    cairo_stroke(cr);

    cairo_pattern_t* core = cairo_pattern_create_radial(0, 0, 0, 0, 0, radius * 0.3);
    add_stop(core, 0, 0xFFFFFF, 0.9);
    add_stop(core, 1, 0xDDEBFF, 0);
    cairo_set_source(cr, core);
    cairo_arc(cr, 0, 0, radius * 0.3, 0, 2 * pi);
    cairo_fill(cr);
    cairo_pattern_destroy(core);
}

}  // namespace make_art
