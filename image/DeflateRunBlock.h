#pragma once
// One deflate block of literals and byte runs, with Huffman codes made for it.
//
// Filtered photographs are close to noise: a dictionary coder finds many short
// matches in them that cost more than the literals they replace, and zlib's
// "filtered" strategy, which drops those, writes such pictures several per cent
// smaller. This coder takes only runs of one repeated byte (a match at distance
// 1, three to 258 bytes) and codes everything else as literals, each block with
// its own code lengths: as small as zlib's filtered strategy on noisy rows and
// close to it on flat ones, for a few passes over the bytes.
//
// The block is not the last of its stream and ends on a byte boundary (an empty
// stored block follows it, as a sync flush writes), so a block from another
// coder may follow it directly.
#include <cstddef>
#include <cstdint>
#include <vector>

class DeflateRunBlock {
public:
    // Reads data (n bytes, at least 1): its runs, symbol counts and codes.
    void Plan(const uint8_t* data, size_t n);
    // Bytes the block takes, known after Plan.
    size_t Bytes() const { return (m_bits + 7) / 8; }
    // Appends the block to out.
    void Write(std::vector<uint8_t>& out) const;

private:
    struct Run {
        uint32_t at;      // first byte of the run (a copy of the byte before it)
        uint32_t length;  // 3 to 258
    };
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    std::vector<Run> m_runs;
    uint32_t m_litCount[286] = {};
    uint8_t m_litLength[286] = {};
    uint16_t m_litCode[286] = {};
    uint8_t m_distLength[2] = {};
    uint16_t m_distCode[2] = {};
    // The code lengths as sent: symbols 0-18 with their extra bits.
    std::vector<uint16_t> m_lengthSymbols;  // symbol | extra << 5
    uint8_t m_clLength[19] = {};
    uint16_t m_clCode[19] = {};
    unsigned m_hlit = 257, m_hdist = 1, m_hclen = 4;
    size_t m_bits = 0;
};
