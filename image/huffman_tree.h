// Canonical Huffman codes as binary trees, walked one bit at a time.
#pragma once

#include <cstdint>

// Tree over an alphabet of N symbols: node k's 0-branch is entries[2k], its
// 1-branch entries[2k + 1]. An entry below N is a leaf holding the symbol; an
// entry of N or more leads to node (entry - N). Node 0 is the root.
template <uint32_t N>
struct HuffmanTree {
    uint32_t entries[2 * N];
};

constexpr uint32_t TREE_OVERSUBSCRIBED = 245;

// Builds the tree of the canonical code given by one length per symbol
// (0 = unused, at most 15). Bit patterns no code reaches decode as symbol 0;
// a code landing on an existing leaf is ignored. Returns 0, or
// TREE_OVERSUBSCRIBED when the lengths need more nodes than the tree has or a
// code runs through a leaf.
template <uint32_t N>
constexpr uint32_t build_huffman_tree(HuffmanTree<N>& tree, const uint32_t* lengths)
{
    constexpr uint32_t empty = 32767;
    constexpr uint32_t maxLength = 15;

    uint32_t countOfLength[maxLength + 1] = {};
    for (uint32_t symbol = 0; symbol < N; ++symbol)
        ++countOfLength[lengths[symbol]];
    countOfLength[0] = 0;
    uint32_t nextCode[maxLength + 1] = {};
    for (uint32_t length = 2; length <= maxLength; ++length)
        nextCode[length] = (nextCode[length - 1] + countOfLength[length - 1]) << 1;

    for (uint32_t& entry : tree.entries)
        entry = empty;
    uint32_t nodeCount = 0;
    for (uint32_t symbol = 0; symbol < N; ++symbol) {
        const uint32_t length = lengths[symbol];
        if (length == 0)
            continue;
        const uint32_t code = nextCode[length]++;
        uint32_t node = 0;
        for (uint32_t bit = length; bit-- > 0;) {
            if (node > N - 2)
                return TREE_OVERSUBSCRIBED;
            uint32_t& entry = tree.entries[2 * node + ((code >> bit) & 1)];
            const bool last = bit == 0;
            if (entry == empty) {
                if (last) {
                    entry = symbol;
                } else {
                    ++nodeCount;
                    entry = nodeCount + N;
                    node = nodeCount;
                }
            } else if (!last) {
                if (entry < N)
                    return TREE_OVERSUBSCRIBED;
                node = entry - N;
            }
        }
    }
    for (uint32_t& entry : tree.entries) {
        if (entry == empty)
            entry = 0;
    }
    return 0;
}
