// make_art: draws every picture the demo loads and writes them as PNG files under one directory.
#include "image/asset_paths.h"
#include "image/png_write.h"
#include "tools/make_art/lettering.h"
#include "tools/make_art/pictures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr const char* usage =
    "usage: make_art [--out DIR] [--fonts DIR]\n"
    "Draws the demo's 200 pictures and writes them as 8-bit RGBA PNG files.\n"
    "  --out DIR    where to write them (default RC); subdirectories are created\n"
    "  --fonts DIR  where the DejaVu fonts are (default /usr/share/fonts/truetype/dejavu)\n"
    "  --help       show this text\n";

using make_art::Canvas;
using make_art::Lettering;

struct Picture {
    std::string_view path;
    int width, height;
    void (*paint)(Canvas&, const Lettering&);
};

// Every picture that is not a glyph, by asset path. Sizes are powers of two, chosen for the size each
// picture is shown at in a 600 x 600 window.
const Picture pictures[] = {
    {"RC\\font_icon\\Qorv.png", 64, 64, [](Canvas& c, const Lettering&) { make_art::paint_icon(c); }},
    {"RC\\Flake_1.png", 64, 64, [](Canvas& c, const Lettering&) { make_art::paint_flake(c, 1); }},
    {"RC\\Flake_2.png", 64, 64, [](Canvas& c, const Lettering&) { make_art::paint_flake(c, 2); }},
    {"RC\\Flake_3.png", 64, 64, [](Canvas& c, const Lettering&) { make_art::paint_flake(c, 3); }},
    {"RC\\Flake_4.png", 64, 64, [](Canvas& c, const Lettering&) { make_art::paint_flake(c, 4); }},
    {"RC\\Flake_5.png", 64, 64, [](Canvas& c, const Lettering&) { make_art::paint_flake(c, 5); }},
    {"RC\\Main.png", 512, 128, make_art::paint_logo},
    {"RC\\HUG.png", 128, 32, make_art::paint_signature},
    {"RC\\BG.png", 512, 512, [](Canvas& c, const Lettering&) { make_art::paint_background(c); }},
    {"RC\\FG.png", 512, 512, [](Canvas& c, const Lettering&) { make_art::paint_foreground(c); }},
};

struct GlyphDirectory {
    std::string_view prefix;
    int size;
    make_art::GlyphStyle style;
};

const GlyphDirectory glyphDirectories[] = {
    {"RC\\font_set\\", 64, make_art::GlyphStyle::large},
    {"RC\\font_set2\\", 32, make_art::GlyphStyle::small},
};

// Draws the picture at an asset path into a new canvas.
std::unique_ptr<Canvas> draw(std::string_view path, const Lettering& fonts) {
    for (const Picture& p : pictures)
        if (p.path == path) {
            auto canvas = std::make_unique<Canvas>(p.width, p.height);
            p.paint(*canvas, fonts);
            return canvas;
        }
    for (const GlyphDirectory& d : glyphDirectories)
        if (path.starts_with(d.prefix)) {
            auto canvas = std::make_unique<Canvas>(d.size, d.size);
            make_art::paint_glyph(*canvas, fonts, d.style, path.substr(d.prefix.size()));
            return canvas;
        }
    throw std::runtime_error("no painter for " + std::string(path));
}

int run(const std::filesystem::path& out, const std::string& fontDirectory) {
    const Lettering fonts(fontDirectory);
    std::set<std::string_view> written;
    for (const std::string& path : assets::texturePaths()) {
        if (!written.insert(path).second) continue;  // A.png is loaded twice in each glyph set
        constexpr std::string_view root = "RC\\";
        const std::filesystem::path file = out / assets::toPlatformPath(std::string_view(path).substr(root.size()));
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            std::fprintf(stderr, "make_art: cannot create %s: %s\n", file.parent_path().c_str(),
                         error.message().c_str());
            return 1;
        }
        const std::unique_ptr<Canvas> canvas = draw(path, fonts);
        if (!png_write::write_rgba_file(file.string(), canvas->rgba(), static_cast<std::uint32_t>(canvas->width()),
                                        static_cast<std::uint32_t>(canvas->height()))) {
            std::fprintf(stderr, "make_art: cannot write %s: %s\n", file.c_str(), std::strerror(errno));
            return 1;
        }
    }
    std::printf("make_art: wrote %zu pictures to %s\n", written.size(), out.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path out = "RC";
    std::string fontDirectory = "/usr/share/fonts/truetype/dejavu";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
            continue;
        }
        if (arg == "--fonts" && i + 1 < argc) {
            fontDirectory = argv[++i];
            continue;
        }
        std::fprintf(stderr, "make_art: unexpected argument '%s'\n%s", argv[i], usage);
        return 2;
    }
    try {
        return run(out, fontDirectory);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_art: %s\n", e.what());
        return 1;
    }
}
