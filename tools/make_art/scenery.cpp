// The valley behind everything and the snowy edge in front of it.
#include "tools/make_art/pictures.h"

#include <cmath>

namespace make_art {

namespace {

// A rolling ridge line: a sum of a few slow waves around a base height.
struct Ridge {
    double base;
    double waves[3][3];  // amplitude, frequency (cycles per picture width), phase

    double at(double x, double width) const {
        double y = base;
        for (const auto& w : waves) y += w[0] * std::sin(2 * pi * w[1] * x / width + w[2]);
        return y;
    }
};

void ridge_path(cairo_t* cr, const Ridge& ridge, double width, double bottom) {
    cairo_move_to(cr, 0, bottom);
    for (double x = 0; x <= width; x += 2) cairo_line_to(cr, x, ridge.at(x, width));
    cairo_line_to(cr, width, bottom);
    cairo_close_path(cr);
}

// A snowy pine: stacked drooping tiers, dark needles, snow resting on the upper slope of every tier.
void draw_pine(cairo_t* cr, double x, double base, double height, std::uint32_t needles, double snow,
               Random& random) {
    const int tiers = height < 20 ? 3 : (height < 60 ? 5 : 7);
    const double width = height * random.between(0.34, 0.42);
    const double trunk = height * 0.08;
    const double crown = height - trunk;

    set_colour(cr, needles);
    cairo_rectangle(cr, x - height * 0.025, base - trunk * 1.5, height * 0.05, trunk * 1.5);
    cairo_fill(cr);

    for (int k = 0; k < tiers; ++k) {
        const double top = base - height + crown * (k * 0.8 / tiers);
        const double bottom = base - trunk - crown * ((tiers - 1 - k) * 0.82 / tiers);
        const double half = width * (0.35 + 0.65 * (k + 1) / tiers) * random.between(0.9, 1.1);
        const double tierHeight = bottom - top;
        const double lean = random.between(-0.04, 0.04) * half;

        cairo_move_to(cr, x + lean * 0.3, top);
        cairo_line_to(cr, x + half + lean, bottom);
        cairo_curve_to(cr, x + half * 0.5, bottom - tierHeight * 0.12, x - half * 0.5, bottom - tierHeight * 0.12,
                       x - half + lean, bottom);
        cairo_close_path(cr);
        set_colour(cr, needles);
        cairo_fill(cr);
        if (snow <= 0) continue;

        // Clumps of snow lying on the upper side of each bough, thicker towards the tips.
        set_colour(cr, 0xF4F8FF, snow);
        for (int side = -1; side <= 1; side += 2) {
            const double tipX = x + side * half + lean, tipY = bottom;
            const double edgeX = tipX - (x + lean * 0.3), edgeY = tipY - top;
            const double length = std::hypot(edgeX, edgeY);
            for (double t : {0.6, 0.82, 0.97}) {
                if (random.next() < 0.25) continue;
                cairo_save(cr);
                cairo_translate(cr, x + lean * 0.3 + edgeX * t, top + edgeY * t - tierHeight * 0.03);
                cairo_rotate(cr, std::atan2(edgeY, edgeX));
                cairo_scale(cr, length * random.between(0.08, 0.12) * (0.6 + t), tierHeight * 0.04 * (0.5 + t));
                cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
                cairo_restore(cr);
                cairo_fill(cr);
            }
        }
    }
}

void draw_sky(cairo_t* cr, double h) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h * 0.75);
    add_stop(sky, 0.0, 0x050920);
    add_stop(sky, 0.35, 0x111c48);
    add_stop(sky, 0.7, 0x35427c);
    add_stop(sky, 0.88, 0x7a6c9e);
    add_stop(sky, 1.0, 0xc497b0);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
}

void draw_stars(cairo_t* cr, double w, double h) {
    Random random(0x5eed51);
    for (int i = 0; i < 230; ++i) {
        const double x = random.between(0, w);
        const double y = h * 0.62 * std::pow(random.next(), 1.4);
        const double fade = 1.0 - y / (h * 0.62);
        const double size = random.between(0.45, 1.1);
        set_colour(cr, random.next() < 0.2 ? 0xFFE9C4 : 0xE4EEFF, fade * random.between(0.45, 1.0));
        cairo_arc(cr, x, y, size, 0, 2 * pi);
        cairo_fill(cr);
    }
    // A few bright ones with a faint four-point glint.
    for (int i = 0; i < 9; ++i) {
        const double x = random.between(10, w - 10);
        const double y = random.between(8, h * 0.4);
        const double r = random.between(3.5, 6.0);
        cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, r);
        add_stop(glow, 0, 0xFFFFFF, 0.9);
        add_stop(glow, 1, 0xBFD4FF, 0);
        cairo_set_source(cr, glow);
        cairo_move_to(cr, x - r, y);
        cairo_line_to(cr, x - 0.6, y - 0.6);
        cairo_line_to(cr, x, y - r);
        cairo_line_to(cr, x + 0.6, y - 0.6);
        cairo_line_to(cr, x + r, y);
        cairo_line_to(cr, x + 0.6, y + 0.6);
        cairo_line_to(cr, x, y + r);
        cairo_line_to(cr, x - 0.6, y + 0.6);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
}

void draw_moon(cairo_t* cr, double x, double y, double r) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(x, y, r * 0.8, x, y, r * 5);
    add_stop(halo, 0, 0xDDE6FF, 0.35);
    add_stop(halo, 0.4, 0xA8B8F0, 0.1);
    add_stop(halo, 1, 0x8090D0, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);

    cairo_pattern_t* disc = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, r * 0.1, x, y, r);
    add_stop(disc, 0, 0xFFFDF2);
    add_stop(disc, 1, 0xE6E2D0);
    cairo_set_source(cr, disc);
    cairo_arc(cr, x, y, r, 0, 2 * pi);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);

    const double maria[][3] = {{-0.3, -0.2, 0.28}, {0.25, 0.1, 0.22}, {-0.05, 0.4, 0.18}, {0.35, -0.35, 0.12}};
    for (const auto& m : maria) {
        set_colour(cr, 0xC9C6BC, 0.45);
        cairo_arc(cr, x + m[0] * r, y + m[1] * r, m[2] * r, 0, 2 * pi);
        cairo_fill(cr);
    }
}

struct HillLayer {
    Ridge ridge;
    std::uint32_t lit, shade, needles;
    double snowOnTrees;
    double treeHeight[2];
    int trees;
    std::uint32_t seed;
};

void draw_hill(cairo_t* cr, const HillLayer& layer, double w, double h) {
    Random random(layer.seed);
    // Trees first, standing on the ridge; the ridge's snow then covers their feet.
    for (int i = 0; i < layer.trees; ++i) {
        const double x = random.between(-10, w + 10);
        const double base = layer.ridge.at(x, w) + 3;
        draw_pine(cr, x, base, random.between(layer.treeHeight[0], layer.treeHeight[1]), layer.needles,
                  layer.snowOnTrees, random);
    }
    cairo_pattern_t* snow = cairo_pattern_create_linear(0, layer.ridge.base - 30, 0, layer.ridge.base + 120);
    add_stop(snow, 0, layer.lit);
    add_stop(snow, 1, layer.shade);
    cairo_set_source(cr, snow);
    ridge_path(cr, layer.ridge, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(snow);

    // Moonlight catching the crest.
    cairo_save(cr);
    ridge_path(cr, layer.ridge, w, h);
    cairo_clip(cr);
    set_colour(cr, 0xFFFFFF, 0.35);
    cairo_set_line_width(cr, 3);
    for (double x = 0; x <= w; x += 2) cairo_line_to(cr, x, layer.ridge.at(x, w) + 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void draw_mist(cairo_t* cr, double w, double y, double depth, double alpha) {
    cairo_pattern_t* mist = cairo_pattern_create_linear(0, y - depth, 0, y + depth);
    add_stop(mist, 0, 0xD8DEFF, 0);
    add_stop(mist, 0.5, 0xD8DEFF, alpha);
    add_stop(mist, 1, 0xD8DEFF, 0);
    cairo_set_source(cr, mist);
    cairo_rectangle(cr, 0, y - depth, w, 2 * depth);
    cairo_fill(cr);
    cairo_pattern_destroy(mist);
}

}  // namespace

void paint_background(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width(), h = canvas.height();
    draw_sky(cr, h);
    draw_stars(cr, w, h);
    draw_moon(cr, w * 0.74, h * 0.2, w * 0.055);

    const HillLayer layers[] = {
        {{h * 0.6, {{14, 1.3, 0.4}, {7, 3.1, 2.0}, {3, 7.0, 1.0}}}, 0x8390c4, 0x5d6aa0, 0x3c4678, 0.25, {6, 11},
         70, 11},
        {{h * 0.67, {{11, 0.9, 2.6}, {6, 2.3, 0.7}, {2, 6.0, 3.0}}}, 0xa6b1e0, 0x7884bb, 0x28325e, 0.4, {10, 20},
         45, 23},
        {{h * 0.76, {{13, 0.7, 4.1}, {5, 1.9, 1.2}, {2, 5.0, 0.3}}}, 0xcdd6f6, 0x97a3d3, 0x1a2448, 0.6, {22, 42},
         22, 37},
        {{h * 0.88, {{10, 0.5, 1.0}, {6, 1.4, 3.3}, {2, 4.0, 2.2}}}, 0xeef2ff, 0xb3bde4, 0x0f1733, 0.8, {48, 80},
         8, 53},
    };
    draw_mist(cr, w, h * 0.62, 16, 0.25);
    draw_hill(cr, layers[0], w, h);
    draw_mist(cr, w, h * 0.69, 14, 0.2);
    draw_hill(cr, layers[1], w, h);
    draw_mist(cr, w, h * 0.78, 12, 0.15);
    draw_hill(cr, layers[2], w, h);
    draw_hill(cr, layers[3], w, h);
}

void paint_foreground(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width(), h = canvas.height();
    Random random(0xF0E57);

    struct Stand {
        double x, height;
    };
    const Stand pines[] = {{-14, 235}, {40, 170}, {88, 105}, {140, 52}, {372, 58}, {425, 120}, {470, 185},
                           {520, 240}, {250, 34}, {205, 28}};
    for (const Stand& p : pines) draw_pine(cr, p.x, h - 30, p.height, 0x0a1022, 0.9, random);

    const Ridge drifts[] = {
        {h * 0.9, {{9, 1.1, 0.5}, {5, 2.7, 2.2}, {2, 6.0, 1.0}}},
        {h * 0.955, {{7, 1.6, 2.9}, {4, 3.3, 0.4}, {1.5, 8.0, 2.0}}},
    };
    const std::uint32_t lit[] = {0xDDE4FA, 0xF6F8FF};
    const std::uint32_t shade[] = {0x8E9AC8, 0xB9C3E8};
    for (int i = 0; i < 2; ++i) {
        cairo_pattern_t* snow = cairo_pattern_create_linear(0, drifts[i].base - 12, 0, h);
        add_stop(snow, 0, lit[i]);
        add_stop(snow, 1, shade[i]);
        cairo_set_source(cr, snow);
        ridge_path(cr, drifts[i], w, h);
        cairo_fill(cr);
        cairo_pattern_destroy(snow);
    }
    // Glitter on the front drift.
    for (int i = 0; i < 60; ++i) {
        const double x = random.between(0, w);
        const double y = drifts[1].at(x, w) + random.between(2, h - drifts[1].at(x, w));
        set_colour(cr, 0xFFFFFF, random.between(0.5, 1.0));
        cairo_rectangle(cr, std::floor(x), std::floor(y), 1, 1);
        cairo_fill(cr);
    }
}

}  // namespace make_art
