// Inflate after RFC 1950 (zlib wrapper) and RFC 1951 (deflate): stored,
// fixed and dynamic blocks, decoded by walking a binary tree one bit at a
// time. No decoding tables and no allocation: dynamic trees live on the stack.
#include "image/inflate.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "image/huffman_tree.h"
#include "image/png_internal.h"

namespace {

// Numbers naming each failed check (all Malformed).
constexpr uint32_t ZLIB_TOO_SHORT = 647;
constexpr uint32_t ZLIB_CHECK_VALUE = 653;
constexpr uint32_t ZLIB_METHOD = 659;
constexpr uint32_t ZLIB_DICTIONARY = 665;
constexpr uint32_t BLOCK_HEADER_PAST_DATA = 616;
constexpr uint32_t BLOCK_TYPE_3 = 626;
constexpr uint32_t STORED_LENGTHS_PAST_DATA = 570;
constexpr uint32_t STORED_LENGTHS_MISMATCH = 581;
constexpr uint32_t STORED_OVERRUNS_OUTPUT = 586;
constexpr uint32_t STORED_DATA_PAST_DATA = 592;
constexpr uint32_t DYNAMIC_HEADER_PAST_DATA = 308;
constexpr uint32_t SYMBOL_PAST_DATA = 278;
constexpr uint32_t INVALID_NODE = 291;
constexpr uint32_t REPEAT_WITHOUT_PREVIOUS = 350;
constexpr uint32_t REPEAT_16_PAST_DATA = 356;
constexpr uint32_t REPEAT_16_PAST_COUNT = 372;
constexpr uint32_t REPEAT_17_PAST_DATA = 386;
constexpr uint32_t REPEAT_17_PAST_COUNT = 397;
constexpr uint32_t REPEAT_18_PAST_DATA = 412;
constexpr uint32_t REPEAT_18_PAST_COUNT = 422;
constexpr uint32_t CODE_LENGTH_SYMBOL = 433;
constexpr uint32_t NO_END_OF_BLOCK = 439;
constexpr uint32_t LITERAL_PAST_OUTPUT = 489;
constexpr uint32_t LENGTH_EXTRA_PAST_DATA = 506;
constexpr uint32_t DISTANCE_SYMBOL = 519;
constexpr uint32_t DISTANCE_EXTRA_PAST_DATA = 530;
constexpr uint32_t MATCH_PAST_OUTPUT = 541;
constexpr uint32_t MATCH_BEFORE_START = 546;

constexpr uint32_t LITERAL_SYMBOLS = 288;
constexpr uint32_t DISTANCE_SYMBOLS = 32;
constexpr uint32_t CODE_LENGTH_SYMBOLS = 19;
constexpr uint32_t END_OF_BLOCK = 256;

using LiteralTree = HuffmanTree<LITERAL_SYMBOLS>;
using DistanceTree = HuffmanTree<DISTANCE_SYMBOLS>;
using CodeLengthTree = HuffmanTree<CODE_LENGTH_SYMBOLS>;

constexpr uint16_t LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                        33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t CODE_LENGTH_ORDER[CODE_LENGTH_SYMBOLS] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                            11, 4,  12, 3, 13, 2, 14, 1, 15};

constexpr LiteralTree FIXED_LITERAL_TREE = [] {
    uint32_t lengths[LITERAL_SYMBOLS] = {};
    for (uint32_t symbol = 0; symbol < LITERAL_SYMBOLS; ++symbol)
        lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
    LiteralTree tree{};
    build_huffman_tree(tree, lengths);
    return tree;
}();

constexpr DistanceTree FIXED_DISTANCE_TREE = [] {
    uint32_t lengths[DISTANCE_SYMBOLS] = {};
    for (uint32_t& length : lengths)
        length = 5;
    DistanceTree tree{};
    build_huffman_tree(tree, lengths);
    return tree;
}();

// Bits of the deflate data, least significant first within each byte. Up to
// 64 bits wait in `bits`; `count` of them are valid. Bits above `count` may
// hold the next byte already: a later refill puts the same byte at the same
// place, so OR-ing it in again changes nothing.
struct BitReader {
    const uint8_t* begin;
    const uint8_t* next;  // first byte not yet taken into `bits`
    const uint8_t* end;
    uint64_t bits;
    uint32_t count;

    void refill()
    {
        if (end - next >= 8) {
            uint64_t word;
            std::memcpy(&word, next, 8);
            if constexpr (std::endian::native == std::endian::big)
                word = __builtin_bswap64(word);
            bits |= word << count;
            next += (63 - count) >> 3;
            count |= 56;
            return;
        }
        while (count <= 56 && next < end) {
            bits |= uint64_t{*next} << count;
            ++next;
            count += 8;
        }
    }

    // Assumes count >= n.
    uint32_t take(uint32_t n)
    {
        const auto value = static_cast<uint32_t>(bits & ((uint64_t{1} << n) - 1));
        bits >>= n;
        count -= n;
        return value;
    }

    // False when the data ends before n bits.
    bool read(uint32_t n, uint32_t& value)
    {
        if (count < n) {
            refill();
            if (count < n)
                return false;
        }
        value = take(n);
        return true;
    }

    // Offset of the byte holding the next bit, after dropping the bits left
    // in a partly read byte.
    size_t align_to_byte()
    {
        take(count & 7);
        return static_cast<size_t>(next - begin) - count / 8;
    }

    void restart_at(size_t offset)
    {
        next = begin + offset;
        bits = 0;
        count = 0;
    }
};

struct Inflater {
    PngImage* image;
    BitReader in;
    uint8_t* out;
    uint32_t outSize;
    uint32_t outPos;

    bool fail(uint32_t detail)
    {
        png_fail(image, PngError::Malformed, detail);
        return false;
    }

    // Walks the tree from the root, one step per bit. Unchecked, it relies on
    // the caller having made sure the longest code is in the reader.
    template <bool Checked, uint32_t N>
    bool decode_symbol(const HuffmanTree<N>& tree, uint32_t& symbol)
    {
        // The entry read last stands for the node: node k's branches are at
        // 2 * (N + k) - 2 * N, so the walk needs no subtraction of its own.
        uint32_t entry = N;
        for (;;) {
            if (Checked && in.count == 0) {
                in.refill();
                if (in.count == 0)
                    return fail(SYMBOL_PAST_DATA);
            }
            entry = tree.entries[2 * entry - 2 * N + static_cast<uint32_t>(in.bits & 1)];
            in.bits >>= 1;
            --in.count;
            if (entry < N) {
                symbol = entry;
                return true;
            }
            if (entry >= 2 * N)  // node (entry - N) does not exist
                return fail(INVALID_NODE);
        }
    }

    template <bool Checked>
    bool read_bits(uint32_t n, uint32_t& value, uint32_t detail)
    {
        if constexpr (Checked) {
            return in.read(n, value) || fail(detail);
        } else {
            value = in.take(n);
            return true;
        }
    }

    // Decodes one literal/length symbol and, for a length, its distance and
    // the copy. Sets endOfBlock on symbol 256.
    template <bool Checked>
    bool decode_item(const LiteralTree& literals, const DistanceTree& distances, bool& endOfBlock)
    {
        uint32_t symbol;
        if (!decode_symbol<Checked>(literals, symbol))
            return false;
        if (symbol < END_OF_BLOCK) {
            if (outPos >= outSize)
                return fail(LITERAL_PAST_OUTPUT);
            out[outPos++] = static_cast<uint8_t>(symbol);
            return true;
        }
        if (symbol == END_OF_BLOCK) {
            endOfBlock = true;
            return true;
        }
        if (symbol > 285)  // 286 and 287 carry nothing
            return true;

        uint32_t extra;
        if (!read_bits<Checked>(LENGTH_EXTRA[symbol - 257], extra, LENGTH_EXTRA_PAST_DATA))
            return false;
        const uint32_t length = LENGTH_BASE[symbol - 257] + extra;

        uint32_t distanceSymbol;
        if (!decode_symbol<Checked>(distances, distanceSymbol))
            return false;
        if (distanceSymbol > 29)
            return fail(DISTANCE_SYMBOL);
        if (!read_bits<Checked>(DISTANCE_EXTRA[distanceSymbol], extra, DISTANCE_EXTRA_PAST_DATA))
            return false;
        const uint32_t distance = DISTANCE_BASE[distanceSymbol] + extra;

        if (outSize - outPos < length)
            return fail(MATCH_PAST_OUTPUT);
        if (distance > outPos)
            return fail(MATCH_BEFORE_START);
        copy_match(distance, length);
        return true;
    }

    // Copies length bytes from distance bytes back; a distance shorter than
    // the length repeats the last distance bytes as a pattern.
    void copy_match(uint32_t distance, uint32_t length)
    {
        uint8_t* to = out + outPos;
        const uint8_t* from = to - distance;
        const bool roomForWholeWords = outSize - outPos >= ((length + 7) & ~7u);
        outPos += length;
        if (distance >= 8 && roomForWholeWords) {
            // Whole words, each read entirely from bytes already written: a
            // word's source ends at least 8 bytes before its destination.
            for (uint32_t i = 0; i < length; i += 8)
                std::memcpy(to + i, from + i, 8);
        } else if (distance == 1) {
            std::memset(to, *from, length);
        } else {
            for (uint32_t i = 0; i < length; ++i)
                to[i] = from[i];
        }
    }

    // Decodes symbols up to the end of the block. The work happens in a
    // local copy of the inflater, so that its bit reader and output position
    // can stay in registers while bytes are stored to the output.
    bool decode_block(const LiteralTree& literals, const DistanceTree& distances)
    {
        // The longest item: a 15-bit length code, 5 extra bits, a 15-bit
        // distance code and 13 extra bits.
        constexpr uint32_t longestItem = 48;
        Inflater local = *this;
        bool endOfBlock = false;
        while (!endOfBlock) {
            if (local.in.count < longestItem)
                local.in.refill();
            if (local.in.count >= longestItem) {
                if (!local.decode_item<false>(literals, distances, endOfBlock))
                    break;
            } else {
                *this = local;
                if (!decode_item<true>(literals, distances, endOfBlock))
                    return false;
                local = *this;
            }
        }
        *this = local;
        return image->error == PngError::None;
    }

    bool stored_block()
    {
        const size_t at = in.align_to_byte();
        const size_t available = static_cast<size_t>(in.end - in.begin) - at;
        if (available < 4)
            return fail(STORED_LENGTHS_PAST_DATA);
        const uint8_t* header = in.begin + at;
        const uint32_t length = header[0] | uint32_t{header[1]} << 8;
        const uint32_t complement = header[2] | uint32_t{header[3]} << 8;
        if (length + complement != 0xFFFF)
            return fail(STORED_LENGTHS_MISMATCH);
        if (outSize - outPos < length)
            return fail(STORED_OVERRUNS_OUTPUT);
        if (available - 4 < length)
            return fail(STORED_DATA_PAST_DATA);
        if (length > 0)
            std::memcpy(out + outPos, header + 4, length);
        outPos += length;
        in.restart_at(at + 4 + length);
        return true;
    }

    bool dynamic_block()
    {
        uint32_t literalCount;
        uint32_t distanceCount;
        uint32_t codeLengthCount;
        if (!in.read(5, literalCount) || !in.read(5, distanceCount) || !in.read(4, codeLengthCount))
            return fail(DYNAMIC_HEADER_PAST_DATA);
        literalCount += 257;
        distanceCount += 1;
        codeLengthCount += 4;

        uint32_t codeLengthLengths[CODE_LENGTH_SYMBOLS] = {};
        for (uint32_t i = 0; i < codeLengthCount; ++i) {
            if (!in.read(3, codeLengthLengths[CODE_LENGTH_ORDER[i]]))
                return fail(DYNAMIC_HEADER_PAST_DATA);
        }
        CodeLengthTree codeLengthTree;
        if (uint32_t detail = build_huffman_tree(codeLengthTree, codeLengthLengths))
            return fail(detail);

        uint32_t literalLengths[LITERAL_SYMBOLS] = {};
        uint32_t distanceLengths[DISTANCE_SYMBOLS] = {};
        auto length_at = [&](uint32_t i) -> uint32_t& {
            return i < literalCount ? literalLengths[i] : distanceLengths[i - literalCount];
        };
        const uint32_t total = literalCount + distanceCount;
        uint32_t stored = 0;
        while (stored < total) {
            uint32_t symbol;
            if (!decode_symbol<true>(codeLengthTree, symbol))
                return false;
            if (symbol < 16) {
                length_at(stored++) = symbol;
                continue;
            }
            uint32_t value = 0;
            uint32_t repeat;
            uint32_t pastCount;
            if (symbol == 16) {
                if (stored == 0)
                    return fail(REPEAT_WITHOUT_PREVIOUS);
                value = length_at(stored - 1);
                if (!in.read(2, repeat))
                    return fail(REPEAT_16_PAST_DATA);
                repeat += 3;
                pastCount = REPEAT_16_PAST_COUNT;
            } else if (symbol == 17) {
                if (!in.read(3, repeat))
                    return fail(REPEAT_17_PAST_DATA);
                repeat += 3;
                pastCount = REPEAT_17_PAST_COUNT;
            } else if (symbol == 18) {
                if (!in.read(7, repeat))
                    return fail(REPEAT_18_PAST_DATA);
                repeat += 11;
                pastCount = REPEAT_18_PAST_COUNT;
            } else {
                return fail(CODE_LENGTH_SYMBOL);
            }
            if (total - stored < repeat)
                return fail(pastCount);
            for (; repeat > 0; --repeat)
                length_at(stored++) = value;
        }
        if (literalLengths[END_OF_BLOCK] == 0)
            return fail(NO_END_OF_BLOCK);

        LiteralTree literalTree;
        if (uint32_t detail = build_huffman_tree(literalTree, literalLengths))
            return fail(detail);
        DistanceTree distanceTree;
        if (uint32_t detail = build_huffman_tree(distanceTree, distanceLengths))
            return fail(detail);
        return decode_block(literalTree, distanceTree);
    }
};

}  // namespace

PngError inflate(PngImage* image, uint8_t* out, uint32_t outSize, const uint8_t* in, uint32_t inSize)
{
    if (inSize < 2)
        return png_fail(image, PngError::Malformed, ZLIB_TOO_SHORT);
    const uint32_t cmf = in[0];
    const uint32_t flg = in[1];
    if ((cmf * 256 + flg) % 31 != 0)
        return png_fail(image, PngError::Malformed, ZLIB_CHECK_VALUE);
    if ((cmf & 0x0F) != 8 || (cmf & 0x80) != 0)
        return png_fail(image, PngError::Malformed, ZLIB_METHOD);
    if ((flg & 0x20) != 0)
        return png_fail(image, PngError::Malformed, ZLIB_DICTIONARY);

    Inflater inflater{
        .image = image,
        .in = BitReader{.begin = in + 2, .next = in + 2, .end = in + inSize, .bits = 0, .count = 0},
        .out = out,
        .outSize = outSize,
        .outPos = 0,
    };
    bool final = false;
    while (!final) {
        uint32_t header;
        if (!inflater.in.read(3, header))
            return png_fail(image, PngError::Malformed, BLOCK_HEADER_PAST_DATA);
        final = (header & 1) != 0;
        bool ok = false;
        switch (header >> 1) {
        case 0: ok = inflater.stored_block(); break;
        case 1: ok = inflater.decode_block(FIXED_LITERAL_TREE, FIXED_DISTANCE_TREE); break;
        case 2: ok = inflater.dynamic_block(); break;
        default: ok = inflater.fail(BLOCK_TYPE_3); break;
        }
        if (!ok)
            return image->error;
    }
    if (inflater.outPos < outSize)
        std::memset(out + inflater.outPos, 0, outSize - inflater.outPos);
    return PngError::None;
}
