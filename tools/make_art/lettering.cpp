#include "tools/make_art/lettering.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace make_art {

namespace {

const cairo_user_data_key_t ftFaceKey{};

void release_ft_face(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

// The cairo face owns the FreeType face and releases it when cairo lets go of it.
cairo_font_face_t* open_face(FT_Library library, const std::string& path) {
    FT_Face ft = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &ft) != 0)
        throw std::runtime_error("cannot read font " + path + " (Debian package fonts-dejavu-core)");
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ft, 0);
    if (cairo_font_face_set_user_data(face, &ftFaceKey, ft, release_ft_face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        FT_Done_Face(ft);
        throw std::runtime_error("cannot attach font " + path);
    }
    return face;
}

void select(cairo_t* cr, cairo_font_face_t* face, double size) {
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace

Lettering::Lettering(const std::string& fontDirectory) : library_(nullptr) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("cannot start FreeType");
    library_ = library;
    try {
        bold_ = open_face(library, fontDirectory + "/DejaVuSans-Bold.ttf");
        condensedBold_ = open_face(library, fontDirectory + "/DejaVuSansCondensed-Bold.ttf");
    } catch (...) {
        release();
        throw;
    }
}

Lettering::~Lettering() { release(); }

void Lettering::release() {
    for (cairo_font_face_t* face : {bold_, condensedBold_})
        if (face) cairo_font_face_destroy(face);
    // Cairo keeps recently used faces alive in its caches; empty them so every face is released
    // before its FreeType library goes. Every canvas is gone by now.
    cairo_debug_reset_static_data();
    FT_Done_FreeType(static_cast<FT_Library>(library_));
}

void Lettering::use_bold(cairo_t* cr, double size) const { select(cr, bold_, size); }
void Lettering::use_condensed_bold(cairo_t* cr, double size) const { select(cr, condensedBold_, size); }

}  // namespace make_art
