#include "image/texture_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/png_image.h"

namespace {

// A decoded picture as the decoder leaves it, built by hand.
PngImage decoded(std::uint32_t width, std::uint32_t height, std::uint32_t colourType, std::uint32_t depth,
                 PngFormat format, std::vector<std::uint8_t>& buffer) {
    PngImage image{};
    image.width = width;
    image.height = height;
    image.colourType = colourType;
    image.bitDepth = depth;
    image.format = format;
    image.buffer = buffer.empty() ? nullptr : buffer.data();
    image.bufferSize = static_cast<std::uint32_t>(buffer.size());
    image.state = buffer.empty() ? PngState::HeaderRead : PngState::Decoded;
    return image;
}

std::vector<std::uint8_t> pixels_of(const TexturePixels& p) {
    return {p.rgba, p.rgba + std::size_t{p.width} * p.height * 4};
}

void expect_empty(const TexturePixels& p) {
    EXPECT_EQ(p.width, 0u);
    EXPECT_EQ(p.height, 0u);
    EXPECT_EQ(p.rgba, nullptr);
}

}  // namespace

TEST(TexturePixels, Rgba8IsHandedOverWithoutACopy) {
    std::vector<std::uint8_t> buffer(2 * 2 * 4, 7);
    const PngImage image = decoded(2, 2, 6, 8, PngFormat::Rgba8, buffer);
    const TexturePixels p = texture_pixels(&image);
    EXPECT_EQ(p.width, 2u);
    EXPECT_EQ(p.height, 2u);
    EXPECT_EQ(p.rgba, buffer.data());
    EXPECT_TRUE(p.converted.empty());
}

TEST(TexturePixels, PicturesWithoutUsablePixelsAreEmpty) {
    expect_empty(texture_pixels(nullptr));

    std::vector<std::uint8_t> buffer(4 * 4 * 4 - 1);  // one byte short
    const PngImage shortBuffer = decoded(4, 4, 6, 8, PngFormat::Rgba8, buffer);
    expect_empty(texture_pixels(&shortBuffer));

    std::vector<std::uint8_t> palette(16);
    const PngImage unknown = decoded(4, 4, 3, 8, PngFormat::BadFormat, palette);
    expect_empty(texture_pixels(&unknown));

    // A format that disagrees with the colour type and depth would imply the wrong buffer size.
    std::vector<std::uint8_t> oneBit(2);
    const PngImage mismatched = decoded(4, 4, 0, 1, PngFormat::Rgba8, oneBit);
    expect_empty(texture_pixels(&mismatched));
}

TEST(TexturePixels, AFailedDecodeKeepsTheHeadersSizeWithoutPixels) {
    std::vector<std::uint8_t> none;
    const PngImage failed = decoded(64, 32, 6, 8, PngFormat::Rgba8, none);
    const TexturePixels p = texture_pixels(&failed);
    EXPECT_EQ(p.width, 64u);
    EXPECT_EQ(p.height, 32u);
    EXPECT_EQ(p.rgba, nullptr);

    const PngImage tooWide = decoded(0x80000000u, 1, 6, 8, PngFormat::Rgba8, none);
    expect_empty(texture_pixels(&tooWide));
}

TEST(TexturePixels, SizesBeyondWhatOpenGLOrTheBufferCanHoldAreEmpty) {
    std::vector<std::uint8_t> buffer(64);
    const PngImage wide = decoded(0x80000000u, 1, 0, 1, PngFormat::Gray1, buffer);
    expect_empty(texture_pixels(&wide));
    // Width times height times 32 bits wraps a 32-bit count; the buffer is far too short.
    const PngImage huge = decoded(0x10000, 0x10000, 6, 8, PngFormat::Rgba8, buffer);
    expect_empty(texture_pixels(&huge));
    const PngImage zero = decoded(0, 5, 6, 8, PngFormat::Rgba8, buffer);
    expect_empty(texture_pixels(&zero));
}

TEST(TexturePixels, MissingFileGivesAnEmptyPicture) {
    PngImage* image = png_new_from_file("no/such/picture.png");
    ASSERT_NE(image, nullptr);
    png_decode(image);
    expect_empty(texture_pixels(image));
    png_free(image);
}

TEST(TexturePixels, GreyIsSpreadAndOpaque) {
    std::vector<std::uint8_t> buffer = {0, 128};
    const PngImage image = decoded(2, 1, 0, 8, PngFormat::Gray8, buffer);
    EXPECT_EQ(pixels_of(texture_pixels(&image)), (std::vector<std::uint8_t>{0, 0, 0, 255, 128, 128, 128, 255}));
}

// Sub-byte rows follow each other bit for bit: a 3 x 2 one-bit picture fills six bits of one byte.
TEST(TexturePixels, OneBitRowsArePackedWithoutPadding) {
    std::vector<std::uint8_t> buffer = {0b10110100};
    const PngImage image = decoded(3, 2, 0, 1, PngFormat::Gray1, buffer);
    const std::vector<std::uint8_t> rgba = pixels_of(texture_pixels(&image));
    const std::uint8_t expected[] = {255, 0, 255, 255, 0, 255};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(rgba[i * 4], expected[i]) << i;
}

TEST(TexturePixels, LowDepthsScaleToTheFullRange) {
    std::vector<std::uint8_t> twoBit = {0b00011011};
    const PngImage gray2 = decoded(4, 1, 0, 2, PngFormat::Gray2, twoBit);
    const std::vector<std::uint8_t> rgba = pixels_of(texture_pixels(&gray2));
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[4], 85);
    EXPECT_EQ(rgba[8], 170);
    EXPECT_EQ(rgba[12], 255);

    std::vector<std::uint8_t> fourBit = {0xF0};  // grey 15, alpha 0
    const PngImage grayAlpha4 = decoded(1, 1, 4, 4, PngFormat::GrayAlpha4, fourBit);
    EXPECT_EQ(pixels_of(texture_pixels(&grayAlpha4)), (std::vector<std::uint8_t>{255, 255, 255, 0}));
}

TEST(TexturePixels, WideSamplesKeepTheirHighByte) {
    std::vector<std::uint8_t> rgb16 = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    const PngImage rgb = decoded(1, 1, 2, 16, PngFormat::Rgb16, rgb16);
    EXPECT_EQ(pixels_of(texture_pixels(&rgb)), (std::vector<std::uint8_t>{0x12, 0x56, 0x9A, 255}));

    std::vector<std::uint8_t> rgba16 = {1, 0, 2, 0, 3, 0, 4, 0};
    const PngImage rgba = decoded(1, 1, 6, 16, PngFormat::Rgba16, rgba16);
    EXPECT_EQ(pixels_of(texture_pixels(&rgba)), (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST(TexturePixels, RgbAndGreyAlphaEightBit) {
    std::vector<std::uint8_t> rgb8 = {10, 20, 30, 40, 50, 60};
    const PngImage rgb = decoded(2, 1, 2, 8, PngFormat::Rgb8, rgb8);
    EXPECT_EQ(pixels_of(texture_pixels(&rgb)), (std::vector<std::uint8_t>{10, 20, 30, 255, 40, 50, 60, 255}));

    std::vector<std::uint8_t> ga8 = {200, 100};
    const PngImage ga = decoded(1, 1, 4, 8, PngFormat::GrayAlpha8, ga8);
    EXPECT_EQ(pixels_of(texture_pixels(&ga)), (std::vector<std::uint8_t>{200, 200, 200, 100}));
}
