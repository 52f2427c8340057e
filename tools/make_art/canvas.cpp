#include "tools/make_art/canvas.h"

#include <stdexcept>

namespace make_art {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot create a drawing surface");
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

std::vector<std::uint8_t> Canvas::rgba() const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t p = row[x];  // premultiplied ARGB in native order
            const std::uint32_t a = p >> 24;
            auto straight = [a](std::uint32_t c) {
                return static_cast<std::uint8_t>(a ? (c * 255 + a / 2) / a : 0);
            };
            out.push_back(straight((p >> 16) & 0xFF));
            out.push_back(straight((p >> 8) & 0xFF));
            out.push_back(straight(p & 0xFF));
            out.push_back(static_cast<std::uint8_t>(a));
        }
    }
    return out;
}

void set_colour(cairo_t* cr, std::uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                          alpha);
}

void add_stop(cairo_pattern_t* pattern, double offset, std::uint32_t rgb, double alpha) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                                      (rgb & 0xFF) / 255.0, alpha);
}

double Random::next() {
    // xorshift32
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 4294967296.0;
}

}  // namespace make_art
