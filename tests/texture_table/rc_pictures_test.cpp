// The committed pictures, read with the demo's own decoder.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "image/asset_paths.h"
#include "image/png_image.h"

namespace {

namespace fs = std::filesystem;

bool power_of_two(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

fs::path source_path(const std::string& assetPath) {
    return fs::path(WHITEPINE_SOURCE_DIR) / assets::toPlatformPath(assetPath);
}

}  // namespace

TEST(RcPictures, EveryFileIsEightBitRgbaWithPowerOfTwoSides) {
    const std::set<std::string> files(assets::texturePaths().begin(), assets::texturePaths().end());
    std::uint64_t decodedBytes = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        PngImage* image = png_new_from_file(source_path(path).c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(png_decode(image), PngError::None);  // an interlaced file would fail here
        EXPECT_EQ(png_get_format(image), PngFormat::Rgba8);
        const std::uint32_t w = png_get_width(image), h = png_get_height(image);
        EXPECT_TRUE(power_of_two(w) && power_of_two(h)) << w << " x " << h;
        if (path.starts_with("RC\\font")) {
            EXPECT_EQ(w, h);
        }
        EXPECT_EQ(png_get_size(image), std::uint64_t{w} * h * 4);
        decodedBytes += png_get_size(image);
        png_free(image);
    }
    EXPECT_EQ(files.size(), 200u);
    // Start-up decodes all of them on the first frame; keep the set small enough to do that quickly.
    EXPECT_LE(decodedBytes, 4.5 * 1024 * 1024);
    EXPECT_FALSE(fs::exists(source_path("RC\\font_set\\5.png")));
    EXPECT_FALSE(fs::exists(source_path("RC\\font_set2\\5.png")));
}

TEST(RcPictures, BlankGlyphsAreFullyTransparent) {
    for (const char* path : {"RC\\font_set\\blank.png", "RC\\font_set2\\blank.png"}) {
        PngImage* image = png_new_from_file(source_path(path).c_str());
        ASSERT_EQ(png_decode(image), PngError::None) << path;
        const std::uint8_t* rgba = png_get_buffer(image);
        for (std::uint32_t i = 0; i < png_get_size(image); i += 4) ASSERT_EQ(rgba[i + 3], 0) << path << " " << i;
        png_free(image);
    }
}

TEST(RcPictures, TheBackgroundIsOpaqueAndTheForegroundOpenAbove) {
    PngImage* bg = png_new_from_file(source_path("RC\\BG.png").c_str());
    ASSERT_EQ(png_decode(bg), PngError::None);
    for (std::uint32_t i = 0; i < png_get_size(bg); i += 4) ASSERT_EQ(png_get_buffer(bg)[i + 3], 255) << i;
    png_free(bg);

    PngImage* fg = png_new_from_file(source_path("RC\\FG.png").c_str());
    ASSERT_EQ(png_decode(fg), PngError::None);
    const std::uint32_t w = png_get_width(fg);
    for (std::uint32_t i = 0; i < w * (png_get_height(fg) / 3) * 4; i += 4)
        ASSERT_EQ(png_get_buffer(fg)[i + 3], 0) << i;  // the top third shows the scene behind
    png_free(fg);
}

// Our decoder skips CRCs, but other programs that open the pictures do not.
TEST(RcPictures, EveryChunkCarriesItsCrc) {
    const std::set<std::string> files(assets::texturePaths().begin(), assets::texturePaths().end());
    for (const std::string& path : files) {
        std::ifstream in(source_path(path), std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto be32 = [&](std::size_t at) {
            return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
                   std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
        };
        std::size_t at = 8, chunks = 0;
        while (at + 12 <= bytes.size()) {
            const std::uint32_t length = be32(at);
            ASSERT_LE(at + 12 + length, bytes.size()) << path;
            const uLong crc = crc32(0, bytes.data() + at + 4, length + 4);
            EXPECT_EQ(be32(at + 8 + length), crc) << path << " chunk " << chunks;
            at += 12 + length;
            ++chunks;
        }
        EXPECT_EQ(at, bytes.size()) << path;
        EXPECT_EQ(chunks, 3u) << path;  // IHDR, IDAT, IEND and nothing else
    }
}
