// Scanline reconstruction: every filter type, first rows, sub-byte packing
// and 16-bit samples, through whole files built in the test.
#include <gtest/gtest.h>
#include <zlib.h>

#include "image/png_image.h"
#include "image/unfilter.h"
#include "tests/png/decode_helpers.h"
#include "tools/png_writer/png_writer.h"

namespace {

using pngwrite::Bytes;

Bytes random_bytes(size_t count, uint32_t seed)
{
    Bytes bytes(count);
    for (uint8_t& b : bytes) {
        seed = seed * 1664525 + 1013904223;
        b = static_cast<uint8_t>(seed >> 24);
    }
    return bytes;
}

// A file of the pixels with the given filter per row.
Bytes file_with_filters(const Bytes& pixels, uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                        uint32_t bitsPerPixel, const std::vector<int>& filters)
{
    const Bytes scanlines = pngwrite::filter_rows(pixels, width, height, bitsPerPixel, filters);
    return pngwrite::png_file({
        pngwrite::chunk("IHDR", pngwrite::ihdr_data(width, height, depth, colourType)),
        pngwrite::chunk("IDAT", pngwrite::zlib_compress(scanlines, 6, Z_DEFAULT_STRATEGY)),
        pngwrite::chunk("IEND", {}),
    });
}

TEST(Unfilter, EveryFilterTypeAndAMixReproduceRgbaPixels)
{
    const uint32_t width = 9;
    const uint32_t height = 6;
    const Bytes pixels = random_bytes(width * height * 4, 3);
    std::vector<std::vector<int>> plans;
    for (int type = 0; type <= 4; ++type)
        plans.push_back(std::vector<int>(height, type));
    plans.push_back({4, 3, 2, 1, 0, 4});
    plans.push_back({3, 4, 1, 2, 3, 0});
    for (const auto& plan : plans) {
        const pngwrite::Decoded d = pngwrite::decode(file_with_filters(pixels, width, height, 8, 6, 32, plan));
        EXPECT_EQ(d.error, PngError::None);
        EXPECT_EQ(d.format, PngFormat::Rgba8);
        EXPECT_EQ(d.pixels, pixels) << "first row filter " << plan[0];
    }
}

TEST(Unfilter, AverageAndPaethInTheFirstRow)
{
    PngImage* image = png_new_from_bytes(nullptr, 0);
    const Bytes average = {3, 10, 20, 255};
    const Bytes paeth = {4, 10, 20, 255};
    Bytes out(3);
    ASSERT_EQ(unfilter_scanlines(image, out.data(), average.data(), 3, 1, 8), PngError::None);
    EXPECT_EQ(out, (Bytes{10, 25, 11}));  // x + floor(a / 2), no byte above
    ASSERT_EQ(unfilter_scanlines(image, out.data(), paeth.data(), 3, 1, 8), PngError::None);
    EXPECT_EQ(out, (Bytes{10, 30, 29}));  // the predictor is the byte on the left
    // Average without 8-bit overflow in a + b, Paeth picking the byte above
    // in the first pixel of a later row.
    const Bytes rows = {0, 200, 250, 3, 0, 0, 4, 1, 1};
    out.resize(6);
    ASSERT_EQ(unfilter_scanlines(image, out.data(), rows.data(), 2, 3, 8), PngError::None);
    EXPECT_EQ(out, (Bytes{200, 250, 100, 175, 101, 176}));
    png_free(image);
}

TEST(Unfilter, FilterTypeFiveFailsAndKeepsNoRows)
{
    const Bytes pixels = random_bytes(4 * 3 * 3, 9);
    Bytes scanlines = pngwrite::filter_rows(pixels, 4, 3, 24, {0, 1, 2});
    scanlines[2 * 13] = 5;
    const pngwrite::Decoded d = pngwrite::decode(pngwrite::png_file({
        pngwrite::chunk("IHDR", pngwrite::ihdr_data(4, 3, 8, 2)),
        pngwrite::chunk("IDAT", pngwrite::zlib_compress(scanlines, 6, Z_DEFAULT_STRATEGY)),
    }));
    EXPECT_EQ(d.error, PngError::Malformed);
    EXPECT_EQ(d.detail, 748u);
    EXPECT_FALSE(d.hasBuffer);
}

// Sub-byte rows packed bit for bit, from the most significant bit down.
Bytes pack_rows(const Bytes& rowBytes, uint32_t width, uint32_t height, uint32_t bitsPerPixel)
{
    const size_t rowSize = (size_t{width} * bitsPerPixel + 7) / 8;
    const size_t rowBits = size_t{width} * bitsPerPixel;
    Bytes packed((rowBits * height + 7) / 8);
    for (size_t y = 0; y < height; ++y) {
        for (size_t i = 0; i < rowBits; ++i) {
            const int bit = rowBytes[y * rowSize + i / 8] >> (7 - i % 8) & 1;
            const size_t to = y * rowBits + i;
            packed[to / 8] = static_cast<uint8_t>(packed[to / 8] | bit << (7 - to % 8));
        }
    }
    return packed;
}

TEST(Unfilter, OneBitGreyThreeByTwoIsOneByte)
{
    const Bytes rows = {0b10100000, 0b01100000};  // row 0: 1 0 1, row 1: 0 1 1
    const pngwrite::Decoded d = pngwrite::decode(file_with_filters(rows, 3, 2, 1, 0, 1, {0, 0}));
    EXPECT_EQ(d.error, PngError::None);
    EXPECT_EQ(d.format, PngFormat::Gray1);
    EXPECT_EQ(d.pixels, Bytes{0b10101100});
}

TEST(Unfilter, SubBytePixelsPackAcrossByteBoundaries)
{
    const struct {
        uint8_t depth, colourType;
        uint32_t bitsPerPixel;
        PngFormat format;
    } formats[] = {
        {1, 0, 1, PngFormat::Gray1},       {2, 0, 2, PngFormat::Gray2},       {4, 0, 4, PngFormat::Gray4},
        {1, 4, 2, PngFormat::GrayAlpha1},  {2, 4, 4, PngFormat::GrayAlpha2},  {4, 4, 8, PngFormat::GrayAlpha4},
    };
    for (const auto& f : formats) {
        for (uint32_t width : {1u, 3u, 5u, 7u, 13u}) {
            const uint32_t height = 5;
            const size_t rowSize = (size_t{width} * f.bitsPerPixel + 7) / 8;
            Bytes rows = random_bytes(rowSize * height, width);
            // The padding bits at the end of each row are not part of the image.
            const size_t padding = rowSize * 8 - size_t{width} * f.bitsPerPixel;
            for (size_t y = 0; y < height; ++y)
                rows[y * rowSize + rowSize - 1] = static_cast<uint8_t>(rows[y * rowSize + rowSize - 1] & (0xFF << padding));
            const pngwrite::Decoded d =
                pngwrite::decode(file_with_filters(rows, width, height, f.depth, f.colourType, f.bitsPerPixel, {1, 2, 3, 4, 0}));
            EXPECT_EQ(d.error, PngError::None);
            EXPECT_EQ(d.format, f.format);
            EXPECT_EQ(d.pixels, pack_rows(rows, width, height, f.bitsPerPixel))
                << "format " << static_cast<int>(f.format) << " width " << width;
        }
    }
}

TEST(Unfilter, SixteenBitSamplesStayBigEndian)
{
    const Bytes pixels = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x0F, 0xED, 0xCB, 0xA9};
    const pngwrite::Decoded rgb = pngwrite::decode(file_with_filters(pixels, 2, 1, 16, 2, 48, {1}));
    EXPECT_EQ(rgb.format, PngFormat::Rgb16);
    EXPECT_EQ(rgb.pixels, pixels);
    const pngwrite::Decoded rgba = pngwrite::decode(file_with_filters(pixels, 1, 1, 16, 6, 64, {4}));
    EXPECT_EQ(rgba.format, PngFormat::Rgba16);
    EXPECT_EQ(rgba.pixels, Bytes(pixels.begin(), pixels.begin() + 8));
}

TEST(Unfilter, WidthZeroGivesAnEmptyBuffer)
{
    const pngwrite::Decoded d = pngwrite::decode(file_with_filters({}, 0, 4, 8, 6, 32, {0, 0, 0, 0}));
    EXPECT_EQ(d.error, PngError::None);
    EXPECT_TRUE(d.hasBuffer);
    EXPECT_TRUE(d.pixels.empty());
}

}  // namespace
