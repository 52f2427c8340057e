// The fonts the pictures are lettered with, read straight from Debian's font files so that no
// font configuration on the machine can change the result.
#pragma once

#include <cairo.h>

#include <string>

namespace make_art {

class Lettering {
public:
    explicit Lettering(const std::string& fontDirectory);
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // Selects a face on cr at the given pixel size, with fixed, unhinted rendering options.
    void use_bold(cairo_t* cr, double size) const;
    void use_condensed_bold(cairo_t* cr, double size) const;

private:
    void release();

    void* library_;  // FreeType's library handle, kept opaque to spare users its headers
    cairo_font_face_t* bold_ = nullptr;
    cairo_font_face_t* condensedBold_ = nullptr;
};

}  // namespace make_art
