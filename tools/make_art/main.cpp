// make_art: draws every picture the demo loads and writes them as PNG files under one directory.
#include "image/asset_paths.h"
#include "tools/png_writer/png_writer.h"
#include "text/glyph_map.h"
#include "tools/make_art/lettering.h"
#include "tools/make_art/pictures.h"

#include <array>
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
#include <vector>

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
    std::size_t firstEntry;
    int size;
    make_art::GlyphStyle style;
};

const GlyphDirectory glyphDirectories[] = {
    {FONT_SET.firstEntry, 64, make_art::GlyphStyle::large},
    {FONT_SET2.firstEntry, 32, make_art::GlyphStyle::small},
};

// What each position of a glyph set shows, from the texts' own character mapping.
std::array<make_art::GlyphMark, assets::GLYPH_COUNT> glyph_marks() {
    using make_art::GlyphMark;
    std::array<GlyphMark, assets::GLYPH_COUNT> marks{};
    for (char c = ' '; c <= '~'; ++c)
        if (const int position = glyphPosition(c); position >= 0)
            marks[static_cast<std::size_t>(position)] = {GlyphMark::letter, c};
    marks[CAT_GLYPH_POSITION] = {GlyphMark::cat};
    marks[S_GLYPH_POSITION] = {GlyphMark::section};
    marks[TRIANGLE_GLYPH_POSITION] = {GlyphMark::triangle};
    // The digit-five position loads A.png, so it shows what A.png shows.
    marks[static_cast<std::size_t>(glyphPosition('5'))] = marks[static_cast<std::size_t>(glyphPosition('A'))];
    return marks;
}

// Draws the picture of texture-table entry `entry` into a new canvas.
std::unique_ptr<Canvas> draw(std::size_t entry, const Lettering& fonts) {
    static const std::array<make_art::GlyphMark, assets::GLYPH_COUNT> marks = glyph_marks();
    const std::string_view path = assets::texturePaths()[entry];
    for (const Picture& p : pictures)
        if (p.path == path) {
            auto canvas = std::make_unique<Canvas>(p.width, p.height);
            p.paint(*canvas, fonts);
            return canvas;
        }
    for (const GlyphDirectory& d : glyphDirectories)
        if (entry >= d.firstEntry && entry < d.firstEntry + assets::GLYPH_COUNT) {
            auto canvas = std::make_unique<Canvas>(d.size, d.size);
            make_art::paint_glyph(*canvas, fonts, d.style, marks[entry - d.firstEntry]);
            return canvas;
        }
    throw std::runtime_error("no painter for " + std::string(path));
}

bool write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

int run(const std::filesystem::path& out, const std::string& fontDirectory) {
    const Lettering fonts(fontDirectory);
    std::set<std::string_view> written;
    for (std::size_t entry = 0; entry < assets::TEXTURE_COUNT; ++entry) {
        const std::string& path = assets::texturePaths()[entry];
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
        const std::unique_ptr<Canvas> canvas = draw(entry, fonts);
        // 8-bit RGBA (colour type 6), not interlaced, each row's filter chosen by the writer, best compression.
        if (!write_file(file, pngwrite::encode_png(canvas->rgba(), static_cast<std::uint32_t>(canvas->width()),
                                                  static_cast<std::uint32_t>(canvas->height()), 8, 6, -1, 9))) {
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
        if (arg == "--out" || arg == "--fonts")
            std::fprintf(stderr, "make_art: %s needs a directory\n%s", argv[i], usage);
        else
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
