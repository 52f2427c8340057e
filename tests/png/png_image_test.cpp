// The image object: creation, the header and chunk checks, sticky errors,
// and files that are cut, corrupted or ask for too much.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "image/png_image.h"
#include "tests/png/decode_helpers.h"
#include "tools/png_writer/png_writer.h"

namespace {

using pngwrite::Bytes;
using pngwrite::chunk;
using pngwrite::decode;

const Bytes PIXELS = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};  // 2 x 2 RGB

Bytes idat_data() { return pngwrite::zlib_compress({0, 10, 20, 30, 40, 50, 60, 0, 70, 80, 90, 100, 110, 120}, 6, Z_DEFAULT_STRATEGY); }
Bytes ihdr() { return chunk("IHDR", pngwrite::ihdr_data(2, 2, 8, 2)); }
Bytes good_file() { return pngwrite::png_file({ihdr(), chunk("IDAT", idat_data()), chunk("IEND", {})}); }

TEST(PngImage, NewImageReportsTheCreationValues)
{
    PngImage* image = png_new_from_bytes(nullptr, 0);
    EXPECT_EQ(png_get_width(image), 0u);
    EXPECT_EQ(png_get_height(image), 0u);
    EXPECT_EQ(png_get_bit_depth(image), 8u);
    EXPECT_EQ(png_get_format(image), PngFormat::Rgba8);
    EXPECT_EQ(png_get_channels(image), 4u);
    EXPECT_EQ(png_get_bpp(image), 32u);
    EXPECT_EQ(image->state, PngState::New);
    EXPECT_EQ(png_get_buffer(image), nullptr);
    png_free(image);
}

TEST(PngImage, DecodesAFileAndReleasesItsSource)
{
    const Bytes file = good_file();
    PngImage* image = png_new_from_bytes(file.data(), static_cast<uint32_t>(file.size()));
    ASSERT_EQ(png_decode(image), PngError::None);
    EXPECT_EQ(png_get_format(image), PngFormat::Rgb8);
    EXPECT_EQ(png_get_size(image), 12u);
    EXPECT_EQ(Bytes(png_get_buffer(image), png_get_buffer(image) + 12), PIXELS);
    EXPECT_EQ(image->state, PngState::Decoded);
    EXPECT_EQ(image->source, nullptr);
    // A second decode does nothing and keeps the buffer.
    const uint8_t* buffer = png_get_buffer(image);
    EXPECT_EQ(png_decode(image), PngError::None);
    EXPECT_EQ(png_get_buffer(image), buffer);
    png_free(image);
}

TEST(PngImage, MissingFileIsNotFound)
{
    PngImage* image = png_new_from_file("/nonexistent/whitepine/Flake_9.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(png_get_error(image), PngError::NotFound);
    EXPECT_EQ(png_decode(image), PngError::NotFound);
    EXPECT_EQ(png_get_error_detail(image), 1174u);
    EXPECT_EQ(png_get_width(image), 0u);
    EXPECT_EQ(png_get_height(image), 0u);
    EXPECT_EQ(png_get_buffer(image), nullptr);
    png_free(image);
}

TEST(PngImage, FileDecodesLikeItsBytes)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "whitepine_png_image_test.png";
    const Bytes file = good_file();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    PngImage* image = png_new_from_file(path.string().c_str());
    EXPECT_EQ(png_decode(image), PngError::None);
    EXPECT_EQ(Bytes(png_get_buffer(image), png_get_buffer(image) + png_get_size(image)), PIXELS);
    png_free(image);
    std::filesystem::remove(path);
}

TEST(PngImage, HeaderChecksInOrder)
{
    Bytes file = good_file();
    auto with = [&](size_t at, uint8_t value) {
        Bytes changed = file;
        changed[at] = value;
        return decode(changed);
    };
    EXPECT_EQ(decode(Bytes(file.begin(), file.begin() + 20)).detail, 912u);
    EXPECT_EQ(decode(Bytes(file.begin(), file.begin() + 28)).detail, 912u);
    EXPECT_EQ(with(0, 0x88).detail, 918u);
    EXPECT_EQ(with(0, 0x88).error, PngError::NotPng);
    EXPECT_EQ(with(12, 'i').detail, 924u);
    EXPECT_EQ(with(26, 1).detail, 943u);
    EXPECT_EQ(with(27, 1).detail, 949u);
    const pngwrite::Decoded interlaced = with(28, 1);
    EXPECT_EQ(interlaced.error, PngError::Interlaced);
    EXPECT_EQ(interlaced.detail, 955u);
    // An unsupported format still reports the picture's size.
    const pngwrite::Decoded palette = with(25, 3);
    EXPECT_EQ(palette.error, PngError::UnsupportedFormat);
    EXPECT_EQ(palette.detail, 937u);
    EXPECT_EQ(palette.width, 2u);
    EXPECT_EQ(palette.height, 2u);
    EXPECT_EQ(palette.format, PngFormat::BadFormat);
}

TEST(PngImage, ChannelsAndBitsPerPixelFollowTheColourType)
{
    const struct {
        uint8_t colourType, depth;
        uint32_t channels, bpp;
    } cases[] = {{0, 8, 1, 8}, {2, 16, 3, 48}, {3, 8, 0, 0}, {4, 4, 2, 8}, {6, 16, 4, 64}, {5, 8, 0, 0}, {9, 8, 0, 0}};
    for (const auto& c : cases) {
        Bytes file = good_file();
        file[24] = c.depth;
        file[25] = c.colourType;
        PngImage* image = png_new_from_bytes(file.data(), static_cast<uint32_t>(file.size()));
        png_decode(image);
        EXPECT_EQ(png_get_channels(image), c.channels) << int{c.colourType};
        EXPECT_EQ(png_get_bpp(image), c.bpp) << int{c.colourType};
        png_free(image);
    }
}

TEST(PngImage, ChunkWalk)
{
    const Bytes data = idat_data();
    const Bytes first(data.begin(), data.begin() + 3);
    const Bytes rest(data.begin() + 3, data.end());
    const Bytes split = pngwrite::png_file({ihdr(), chunk("gAMA", {0, 0, 1, 2}), chunk("IDAT", first),
                                           chunk("tEXt", {'a', 0, 'b'}), chunk("IDAT", rest), chunk("IEND", {})});
    EXPECT_EQ(decode(split).pixels, PIXELS);

    EXPECT_EQ(decode(pngwrite::png_file({ihdr()})).detail, 647u);  // no data at all
    const pngwrite::Decoded palette =
        decode(pngwrite::png_file({ihdr(), chunk("PLTE", {1, 2, 3}), chunk("IDAT", data), chunk("IEND", {})}));
    EXPECT_EQ(palette.error, PngError::Unsupported);
    EXPECT_EQ(palette.detail, 1033u);
    EXPECT_EQ(decode(pngwrite::png_file({ihdr(), chunk("IDAT", data), chunk("IHDR", {})})).detail, 1033u);

    // Nothing after IEND is looked at; without IEND the data may end the file.
    Bytes afterEnd = good_file();
    afterEnd.insert(afterEnd.end(), {'X', 'Y', 'Z'});
    EXPECT_EQ(decode(afterEnd).pixels, PIXELS);
    const Bytes noEnd = pngwrite::png_file({ihdr(), chunk("IDAT", data)});
    EXPECT_EQ(decode(noEnd).pixels, PIXELS);
    EXPECT_EQ(decode(Bytes(noEnd.begin(), noEnd.end() - 1)).detail, 1020u);
    Bytes shortHeader = noEnd;
    shortHeader.insert(shortHeader.end(), {0, 0, 0, 0, 'I', 'E'});
    EXPECT_EQ(decode(shortHeader).detail, 1007u);
    EXPECT_EQ(decode(Bytes(noEnd.begin(), noEnd.begin() + 40)).detail, 1007u);

    Bytes huge = good_file();
    huge[33] = 0x80;
    EXPECT_EQ(decode(huge).detail, 1014u);
}

TEST(PngImage, CorruptChecksumsDoNotStopTheDecode)
{
    Bytes file = good_file();
    file[29] ^= 0xFF;                // IHDR CRC
    file[33 + 8 + idat_data().size() - 1] ^= 0xFF;  // last Adler-32 byte
    EXPECT_EQ(decode(file).pixels, PIXELS);
}

TEST(PngImage, SizesThatWouldWrapAreMalformed)
{
    const struct {
        uint32_t width, height;
        uint8_t depth, colourType;
    } cases[] = {
        {0xFFFFFFFF, 0xFFFFFFFF, 8, 6}, {65536, 65536, 8, 6}, {0x40000000, 1, 16, 6}, {1, 0xFFFFFFFF, 8, 0},
    };
    for (const auto& c : cases) {
        const pngwrite::Decoded d = decode(pngwrite::png_file(
            {chunk("IHDR", pngwrite::ihdr_data(c.width, c.height, c.depth, c.colourType)), chunk("IDAT", idat_data())}));
        EXPECT_EQ(d.error, PngError::Malformed) << c.width << " x " << c.height;
        EXPECT_EQ(d.detail, 1066u);
        EXPECT_EQ(d.width, c.width);
    }
}

TEST(PngImage, ErrorsAreSticky)
{
    Bytes file = good_file();
    file[33 + 8] = 0x79;  // zlib header check fails
    PngImage* image = png_new_from_bytes(file.data(), static_cast<uint32_t>(file.size()));
    EXPECT_EQ(png_decode(image), PngError::Malformed);
    EXPECT_EQ(image->state, PngState::HeaderRead);
    EXPECT_NE(image->source, nullptr);
    file[33 + 8] = 0x78;  // mended, but the error stays
    EXPECT_EQ(png_decode(image), PngError::Malformed);
    EXPECT_EQ(png_get_error_detail(image), 653u);
    EXPECT_EQ(png_get_buffer(image), nullptr);
    png_free(image);
}

// Every cut and many single-byte changes of a real file end in an error or
// a buffer of the right size; the sanitizer builds check the memory side.
TEST(PngImage, CutAndCorruptedFilesFailCleanly)
{
    Bytes pixels(23 * 17 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 7 + i / 92);
    const Bytes file = pngwrite::encode_png(pixels, 23, 17, 8, 6);
    for (size_t cut = 0; cut < file.size(); ++cut) {
        const pngwrite::Decoded d = decode(Bytes(file.begin(), file.begin() + static_cast<long>(cut)));
        if (d.error == PngError::None) {
            EXPECT_EQ(d.pixels.size(), pixels.size());
        }
    }
    for (size_t at = 8; at < file.size(); ++at) {
        for (int flip : {0x01, 0x10, 0x80, 0xFF}) {
            Bytes changed = file;
            changed[at] = static_cast<uint8_t>(changed[at] ^ flip);
            const pngwrite::Decoded d = decode(changed);
            if (d.error == PngError::None) {
                EXPECT_EQ(d.pixels.size(), (uint64_t{d.width} * d.height * 32 + 7) / 8);
            }
        }
    }
}

}  // namespace
