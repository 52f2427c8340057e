// A Cairo drawing surface of a picture's pixel size, and what every painter shares.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace make_art {

inline constexpr double pi = std::numbers::pi;

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Straight (not premultiplied) 8-bit RGBA, rows top to bottom.
    std::vector<std::uint8_t> rgba() const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// A colour as 0xRRGGBB plus alpha.
void set_colour(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0);
void add_stop(cairo_pattern_t* pattern, double offset, std::uint32_t rgb, double alpha = 1.0);

// A small fixed-seed generator, so every run scatters stars and trees the same way.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
    double next();  // in [0, 1)
    double between(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    std::uint32_t state_;
};

}  // namespace make_art
