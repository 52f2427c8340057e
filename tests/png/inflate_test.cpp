// Inflate against zlib's own streams and against hand-built deflate streams
// that sit exactly on each bound.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "image/inflate.h"
#include "image/png_image.h"
#include "tools/png_writer/png_writer.h"

namespace {

using pngwrite::Bytes;

struct Result {
    PngError error;
    uint32_t detail;
    Bytes out;
};

Result run_inflate(const Bytes& stream, uint32_t outSize)
{
    PngImage* image = png_new_from_bytes(nullptr, 0);
    Result result{PngError::None, 0, Bytes(outSize, 0xEE)};
    result.error = inflate(image, result.out.data(), outSize, stream.data(), static_cast<uint32_t>(stream.size()));
    result.detail = png_get_error_detail(image);
    EXPECT_EQ(result.error, png_get_error(image));
    png_free(image);
    return result;
}

// Deflate bits, least significant first; Huffman codes most significant first.
struct BitWriter {
    Bytes bytes;
    uint32_t used = 0;

    BitWriter& bits(uint32_t value, uint32_t count)
    {
        for (uint32_t i = 0; i < count; ++i) {
            if (used % 8 == 0)
                bytes.push_back(0);
            bytes.back() = static_cast<uint8_t>(bytes.back() | ((value >> i) & 1) << (used % 8));
            ++used;
        }
        return *this;
    }
    BitWriter& code(uint32_t value, uint32_t length)
    {
        for (uint32_t i = length; i-- > 0;)
            bits((value >> i) & 1, 1);
        return *this;
    }
    // A symbol of the fixed literal/length code.
    BitWriter& fixed(uint32_t symbol)
    {
        if (symbol < 144)
            return code(0x30 + symbol, 8);
        if (symbol < 256)
            return code(0x190 + symbol - 144, 9);
        if (symbol < 280)
            return code(symbol - 256, 7);
        return code(0xC0 + symbol - 280, 8);
    }
    Bytes zlib() const
    {
        Bytes stream;
        stream.reserve(bytes.size() + 2);
        stream.push_back(0x78);
        stream.push_back(0x01);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
        return stream;
    }
};

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes stored_stream(const Bytes& data)
{
    BitWriter w;
    w.bits(1, 1).bits(0, 2);
    Bytes stream = w.zlib();
    const auto length = static_cast<uint16_t>(data.size());
    stream.insert(stream.end(), {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                                 static_cast<uint8_t>(~length), static_cast<uint8_t>(~length >> 8)});
    stream.insert(stream.end(), data.begin(), data.end());
    return stream;
}

TEST(Inflate, EveryZlibStrategyDecodesTheSameBytes)
{
    Bytes data;
    uint32_t seed = 7;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245 + 12345;
        data.push_back(i % 300 < 150 ? static_cast<uint8_t>("winter pines "[i % 13]) : static_cast<uint8_t>(seed >> 24));
    }
    const std::pair<int, int> settings[] = {
        {0, Z_DEFAULT_STRATEGY}, {6, Z_FIXED}, {6, Z_DEFAULT_STRATEGY},
        {9, Z_DEFAULT_STRATEGY}, {6, Z_HUFFMAN_ONLY}, {6, Z_RLE},
    };
    for (auto [level, strategy] : settings) {
        const Result r = run_inflate(pngwrite::zlib_compress(data, level, strategy), static_cast<uint32_t>(data.size()));
        EXPECT_EQ(r.error, PngError::None) << "level " << level << " strategy " << strategy;
        EXPECT_EQ(r.out, data) << "level " << level << " strategy " << strategy;
    }
}

TEST(Inflate, StoredBlocksFitExactlyAndFailOneByteOver)
{
    const Bytes stream = stored_stream(text("snowfall"));
    EXPECT_EQ(run_inflate(stream, 8).out, text("snowfall"));
    const Result over = run_inflate(stream, 7);
    EXPECT_EQ(over.error, PngError::Malformed);
    EXPECT_EQ(over.detail, 586u);

    // Empty stored blocks are fine, before and as the final block.
    BitWriter w;
    w.bits(0, 1).bits(0, 2);
    Bytes twoBlocks = w.zlib();
    twoBlocks.insert(twoBlocks.end(), {0, 0, 0xFF, 0xFF, 0x01, 0, 0, 0xFF, 0xFF});
    EXPECT_EQ(run_inflate(twoBlocks, 0).error, PngError::None);
}

TEST(Inflate, StoredBlockChecks)
{
    Bytes stream = stored_stream(text("abc"));
    EXPECT_EQ(run_inflate(Bytes(stream.begin(), stream.begin() + 5), 3).detail, 570u);  // LEN/NLEN cut
    EXPECT_EQ(run_inflate(Bytes(stream.begin(), stream.end() - 1), 3).detail, 592u);    // data cut
    stream[5] ^= 1;
    EXPECT_EQ(run_inflate(stream, 3).detail, 581u);
}

TEST(Inflate, LiteralsAndMatchesFitExactlyAndFailOneByteOver)
{
    BitWriter literals;
    literals.bits(1, 1).bits(1, 2).fixed('i').fixed('c').fixed('e').fixed(256);
    EXPECT_EQ(run_inflate(literals.zlib(), 3).out, text("ice"));
    EXPECT_EQ(run_inflate(literals.zlib(), 2).detail, 489u);

    // 'a', then length 9 (symbol 263) at distance 1 (code 0): ten 'a's.
    BitWriter match;
    match.bits(1, 1).bits(1, 2).fixed('a').fixed(263).code(0, 5).fixed(256);
    EXPECT_EQ(run_inflate(match.zlib(), 10).out, Bytes(10, 'a'));
    EXPECT_EQ(run_inflate(match.zlib(), 9).detail, 541u);
}

TEST(Inflate, DistanceOneLength258RepeatsTheLastByte)
{
    BitWriter w;
    w.bits(1, 1).bits(1, 2).fixed('x').fixed(285).code(0, 5).fixed(256);
    EXPECT_EQ(run_inflate(w.zlib(), 259).out, Bytes(259, 'x'));
}

TEST(Inflate, OverlappingMatchesRepeatAPattern)
{
    // "abc", length 10 at distance 3; "defghijkl", length 18 (symbol 268,
    // extra bit 1) at distance 9 (code 6, extra bits 0).
    BitWriter w;
    w.bits(1, 1).bits(1, 2).fixed('a').fixed('b').fixed('c').fixed(264).code(2, 5);
    for (char c : std::string("defghijkl"))
        w.fixed(static_cast<uint8_t>(c));
    w.fixed(268).bits(1, 1).code(6, 5).bits(0, 2).fixed(256);
    const Result r = run_inflate(w.zlib(), 3 + 10 + 9 + 18);
    EXPECT_EQ(r.error, PngError::None);
    std::string expected = "abcabcabcabca" + std::string("defghijkl");
    for (int i = 0; i < 18; ++i)
        expected += expected[expected.size() - 9];
    EXPECT_EQ(r.out, text(expected));
}

TEST(Inflate, Symbols286And287ProduceNothing)
{
    BitWriter w;
    w.bits(1, 1).bits(1, 2).fixed('a').fixed(286).fixed(287).fixed('b').fixed(256);
    const Result r = run_inflate(w.zlib(), 2);
    EXPECT_EQ(r.error, PngError::None);
    EXPECT_EQ(r.out, text("ab"));
}

// A dynamic block whose literal/length code has only 'A' (00) and end of
// block (01); the code-length code has symbols 0 and 2, one bit each.
BitWriter incomplete_dynamic_header()
{
    BitWriter w;
    w.bits(1, 1).bits(2, 2).bits(0, 5).bits(0, 5).bits(12, 4);  // HLIT 257, HDIST 1, HCLEN 16
    for (int i = 0; i < 16; ++i)
        w.bits(i == 3 || i == 15 ? 1 : 0, 3);  // positions of symbols 0 and 2
    for (int symbol = 0; symbol < 258; ++symbol)
        w.code(symbol == 'A' || symbol == 256 ? 1 : 0, 1);
    return w;
}

TEST(Inflate, UnusedPatternsOfAnIncompleteCodeDecodeAsSymbolZero)
{
    BitWriter w = incomplete_dynamic_header();
    // A, then the unused pattern 1 (one bit: the root has no 1-branch) twice, A, end.
    w.code(0, 2).code(1, 1).code(1, 1).code(0, 2).code(1, 2);
    const Result r = run_inflate(w.zlib(), 4);
    EXPECT_EQ(r.error, PngError::None);
    EXPECT_EQ(r.out, (Bytes{'A', 0, 0, 'A'}));
}

TEST(Inflate, ZlibHeaderAcceptance)
{
    const Bytes body = {0x03, 0x00};  // an empty fixed block
    const struct {
        uint8_t cmf, flg;
        uint32_t detail;
    } cases[] = {
        {0x78, 0x9C, 0}, {0x78, 0xDA, 0}, {0x78, 0x01, 0}, {0x08, 0x1D, 0},
        {0x78, 0xBB, 665}, {0x88, 0x98, 659}, {0x79, 0x18, 659}, {0x79, 0x9C, 653}, {0x77, 0x9C, 653},
    };
    for (const auto& c : cases) {
        Bytes stream = {c.cmf, c.flg};
        stream.insert(stream.end(), body.begin(), body.end());
        EXPECT_EQ(run_inflate(stream, 0).detail, c.detail) << std::hex << int{c.cmf} << " " << int{c.flg};
    }
    EXPECT_EQ(run_inflate({0x78}, 0).detail, 647u);
    EXPECT_EQ(run_inflate({}, 0).detail, 647u);
}

// A fixed block header and five 9-bit literals: 48 bits, a whole number of bytes.
BitWriter five_wide_literals()
{
    BitWriter w;
    w.bits(1, 1).bits(1, 2);
    for (int i = 0; i < 5; ++i)
        w.fixed(200);
    return w;
}

TEST(Inflate, MalformedStreamsNameTheirCheck)
{
    const struct {
        const char* what;
        BitWriter stream;
        uint32_t outSize;
        uint32_t detail;
    } cases[] = {
        {"no block header", BitWriter{}, 1, 616},
        {"block type 3", BitWriter{}.bits(1, 1).bits(3, 2), 1, 626},
        {"fixed block cut short", BitWriter{}.bits(1, 1).bits(1, 2).fixed('a'), 1, 278},
        {"match before the start", BitWriter{}.bits(1, 1).bits(1, 2).fixed(257).code(0, 5).fixed(256), 3, 546},
        {"distance code 30", BitWriter{}.bits(1, 1).bits(1, 2).fixed('a').fixed(257).code(30, 5), 9, 519},
        {"length extra bits cut", five_wide_literals().fixed(284), 300, 506},
        {"distance extra bits cut", BitWriter{}.bits(1, 1).bits(1, 2).fixed('a').fixed(257).code(29, 5), 9, 530},
        {"dynamic header cut", BitWriter{}.bits(1, 1).bits(2, 2).bits(0, 4), 1, 308},
        {"no final block", BitWriter{}.bits(0, 1).bits(1, 2).fixed(200).fixed(200).fixed(200).fixed(200).fixed(200).fixed(200).fixed(256), 6, 616},
    };
    for (const auto& c : cases) {
        const Result r = run_inflate(c.stream.zlib(), c.outSize);
        EXPECT_EQ(r.error, PngError::Malformed) << c.what;
        EXPECT_EQ(r.detail, c.detail) << c.what;
    }
}

// Dynamic header with a one-bit code-length code for symbols 0 and 16 / 17 /
// 18 (positions 3 and 0 / 1 / 2 in the stored order), followed by `codes`.
Bytes dynamic_with_code_lengths(uint32_t repeatSymbol, const std::vector<std::pair<uint32_t, uint32_t>>& codes)
{
    BitWriter w;
    w.bits(1, 1).bits(2, 2).bits(0, 5).bits(0, 5).bits(0, 4);  // HLIT 257, HDIST 1, HCLEN 4
    for (uint32_t i = 0; i < 4; ++i)
        w.bits(i == 3 || i == repeatSymbol - 16 ? 1 : 0, 3);
    for (auto [value, count] : codes)
        w.bits(value, count);
    return w.zlib();
}

TEST(Inflate, RepeatCodesAreBounded)
{
    // Code-length symbol 0 has code 0, the repeat symbol code 1.
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(16, {{1, 1}, {0, 2}}), 1).detail, 350u);
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(16, {{0, 1}, {1, 1}}), 1).detail, 356u);
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(17, {{1, 1}}), 1).detail, 386u);
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(18, {{1, 1}}), 1).detail, 412u);
    // 18 with 7 extra bits of 127 stores 138 zeros: the second run passes 258.
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(18, {{1, 1}, {127, 7}, {1, 1}, {127, 7}}), 1).detail, 422u);
    // 256 zeros by 17 runs of ten plus more; a run of 17 past the count.
    std::vector<std::pair<uint32_t, uint32_t>> runs;
    for (int i = 0; i < 25; ++i)
        runs.insert(runs.end(), {{1, 1}, {7, 3}});
    runs.insert(runs.end(), {{1, 1}, {7, 3}});
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(17, runs), 1).detail, 397u);
    // 258 zeros stored: symbol 256 has no code.
    EXPECT_EQ(run_inflate(dynamic_with_code_lengths(18, {{1, 1}, {127, 7}, {1, 1}, {109, 7}}), 1).detail, 439u);
}

TEST(Inflate, OversubscribedCodeFails)
{
    // Code-length symbols 16 and 17 take codes 0 and 1; the path of 18's
    // two-bit code 00 runs through the leaf of 16.
    BitWriter w;
    w.bits(1, 1).bits(2, 2).bits(0, 5).bits(0, 5).bits(0, 4);
    for (uint32_t length : {1, 1, 2, 0})
        w.bits(length, 3);
    const Result r = run_inflate(w.zlib(), 1);
    EXPECT_EQ(r.detail, 245u);
}

TEST(Inflate, ChecksumAndTrailingBytesAreIgnored)
{
    Bytes stream = pngwrite::zlib_compress(text("white pines"), 6, Z_DEFAULT_STRATEGY);
    stream[stream.size() - 1] ^= 0xFF;
    stream.insert(stream.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(run_inflate(stream, 11).out, text("white pines"));
}

TEST(Inflate, ShortStreamLeavesZerosBehindIt)
{
    const Result r = run_inflate(stored_stream(text("ab")), 5);
    EXPECT_EQ(r.error, PngError::None);
    EXPECT_EQ(r.out, (Bytes{'a', 'b', 0, 0, 0}));
}

TEST(Inflate, EveryPrefixOfAStreamFailsCleanly)
{
    Bytes data;
    for (int i = 0; i < 3000; ++i)
        data.push_back(static_cast<uint8_t>((i * i) >> 5));
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
        const Bytes stream = pngwrite::zlib_compress(data, 9, strategy);
        for (size_t cut = 0; cut + 4 < stream.size(); ++cut) {  // the last 4 bytes are the checksum
            const Result r = run_inflate(Bytes(stream.begin(), stream.begin() + static_cast<long>(cut)), 3000);
            EXPECT_EQ(r.error, PngError::Malformed) << "cut at " << cut;
        }
    }
}

}  // namespace
