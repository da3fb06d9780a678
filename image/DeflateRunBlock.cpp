#include "image/DeflateRunBlock.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

namespace {

// Run lengths 3-258 as length symbols 257-285 with their extra bits.
struct LengthCode {
    uint16_t symbol;
    uint8_t extraBits;
    uint16_t extra;
};

struct LengthTable {
    LengthCode code[259];
    LengthTable() {
        static const uint16_t base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const uint8_t bits[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (unsigned length = 3; length <= 258; ++length) {
            int s = 28;
            while (base[s] > length) --s;
            code[length] = LengthCode{uint16_t(257 + s), bits[s], uint16_t(length - base[s])};
        }
    }
};
const LengthTable kLengths;

constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr uint8_t kRepeatExtraBits[3] = {2, 3, 7};  // symbols 16, 17, 18

// Huffman code lengths for the counts, none longer than maxBits; every symbol
// with a count gets a length, and at least two symbols do (a complete code,
// which every decoder takes).
void BuildLengths(const uint32_t* counts, unsigned n, unsigned maxBits, uint8_t* lengths) {
    std::memset(lengths, 0, n);
    std::vector<uint32_t> weight(counts, counts + n);
    unsigned used = 0;
    for (unsigned i = 0; i < n; ++i) used += weight[i] != 0;
    for (unsigned i = 0; used < 2 && i < n; ++i)
        if (weight[i] == 0) {
            weight[i] = 1;
            ++used;
        }
    for (;;) {
        // Leaves sorted by weight, then merged two queues at a time (leaves and
        // inner nodes); each node remembers its parent, so depths follow.
        std::vector<unsigned> leaves;
        for (unsigned i = 0; i < n; ++i)
            if (weight[i] != 0) leaves.push_back(i);
        std::stable_sort(leaves.begin(), leaves.end(), [&](unsigned a, unsigned b) { return weight[a] < weight[b]; });
        const size_t m = leaves.size();
        std::vector<uint64_t> nodeWeight(2 * m);
        std::vector<size_t> parent(2 * m, 0);
        for (size_t i = 0; i < m; ++i) nodeWeight[i] = weight[leaves[i]];
        size_t nextLeaf = 0, nextInner = m, made = m;
        auto take = [&]() {
            if (nextLeaf < m && (nextInner >= made || nodeWeight[nextLeaf] <= nodeWeight[nextInner])) return nextLeaf++;
            return nextInner++;
        };
        for (size_t k = 0; k + 1 < m; ++k) {
            const size_t a = take(), b = take();
            nodeWeight[made] = nodeWeight[a] + nodeWeight[b];
            parent[a] = parent[b] = made;
            ++made;
        }
        std::vector<unsigned> depth(made, 0);
        unsigned deepest = 0;
        for (size_t i = made - 1; i-- > 0;) {
            depth[i] = depth[parent[i]] + 1;
            if (i < m) deepest = std::max(deepest, depth[i]);
        }
        if (deepest <= maxBits) {
            for (size_t i = 0; i < m; ++i) lengths[leaves[i]] = uint8_t(depth[i]);
            return;
        }
        // Too deep: flatten the counts and build again.
        for (unsigned i = 0; i < n; ++i)
            if (weight[i] != 0) weight[i] = (weight[i] >> 1) | 1;
    }
}

// Canonical codes for the lengths, bit-reversed: deflate sends codes from their
// first bit on, into the low end of each byte.
void BuildCodes(const uint8_t* lengths, unsigned n, uint16_t* codes) {
    unsigned count[16] = {}, next[16] = {};
    for (unsigned i = 0; i < n; ++i) ++count[lengths[i]];
    count[0] = 0;
    for (unsigned bits = 1, code = 0; bits < 16; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    for (unsigned i = 0; i < n; ++i) {
        const unsigned len = lengths[i];
        if (len == 0) continue;
        unsigned code = next[len]++, reversed = 0;
        for (unsigned b = 0; b < len; ++b, code >>= 1) reversed = (reversed << 1) | (code & 1);
        codes[i] = uint16_t(reversed);
    }
}

// Bits into bytes, first bit lowest, into room made beforehand.
class BitWriter {
public:
    explicit BitWriter(uint8_t* out) : m_out(out) {}
    void Put(uint32_t value, unsigned bits) {
        m_acc |= uint64_t(value) << m_used;
        m_used += bits;
        if (m_used >= 32) {
            const uint8_t b[4] = {uint8_t(m_acc), uint8_t(m_acc >> 8), uint8_t(m_acc >> 16), uint8_t(m_acc >> 24)};
            std::memcpy(m_out, b, 4);
            m_out += 4;
            m_acc >>= 32;
            m_used -= 32;
        }
    }
    // Writes the bits still held, the last byte padded with zeros; returns the end.
    uint8_t* Align() {
        while (m_used > 0) {
            *m_out++ = uint8_t(m_acc);
            m_acc >>= 8;
            m_used = m_used > 8 ? m_used - 8 : 0;
        }
        return m_out;
    }

private:
    uint8_t* m_out;
    uint64_t m_acc = 0;
    unsigned m_used = 0;
};

}  // namespace

void DeflateRunBlock::Plan(const uint8_t* data, size_t n) {
    m_data = data;
    m_size = n;
    // Runs: after a byte, three or more copies of it are one match at distance 1.
    // Sixteen places are looked at at once for three equal neighbours in a row.
    m_runs.clear();
    size_t i = 1;
    while (i + 2 < n) {
        if (i + 18 <= n) {
            const __m128i now = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i - 1));
            const unsigned equal = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(now, before)));
            const unsigned three = equal & (equal >> 1) & (equal >> 2) & 0x3FFF;
            if (three == 0) {
                i += 14;
                continue;
            }
            i += unsigned(__builtin_ctz(three));
        } else if (!(data[i] == data[i - 1] && data[i + 1] == data[i - 1] && data[i + 2] == data[i - 1])) {
            ++i;
            continue;
        }
        const uint8_t byte = data[i - 1];
        size_t run = 3;
        while (run < 258 && i + run < n && data[i + run] == byte) ++run;
        m_runs.push_back(Run{uint32_t(i), uint32_t(run)});
        i += run;
    }
    // Literal counts: every byte, less those inside runs; four tables so that
    // neighbouring equal bytes do not wait on each other's count.
    std::memset(m_litCount, 0, sizeof m_litCount);
    uint32_t counts[4][256] = {};
    size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        ++counts[0][data[k]];
        ++counts[1][data[k + 1]];
        ++counts[2][data[k + 2]];
        ++counts[3][data[k + 3]];
    }
    for (; k < n; ++k) ++counts[0][data[k]];
    for (unsigned v = 0; v < 256; ++v) m_litCount[v] = counts[0][v] + counts[1][v] + counts[2][v] + counts[3][v];
    for (const Run& r : m_runs) {
        m_litCount[data[r.at]] -= r.length;
        ++m_litCount[kLengths.code[r.length].symbol];
    }
    const bool anyRun = !m_runs.empty();
    m_litCount[256] = 1;  // end of block
    BuildLengths(m_litCount, 286, 15, m_litLength);
    BuildCodes(m_litLength, 286, m_litCode);
    // Distance 1 is code 0; code 1 only completes the code.
    const uint32_t distCount[2] = {anyRun ? 1u : 0u, 0};
    BuildLengths(distCount, 2, 15, m_distLength);
    BuildCodes(m_distLength, 2, m_distCode);

    m_hlit = 286;
    while (m_hlit > 257 && m_litLength[m_hlit - 1] == 0) --m_hlit;
    m_hdist = 2;
    // The code lengths of both codes as one sequence, repeats shortened.
    uint8_t all[288];
    std::memcpy(all, m_litLength, m_hlit);
    std::memcpy(all + m_hlit, m_distLength, m_hdist);
    const unsigned total = m_hlit + m_hdist;
    m_lengthSymbols.clear();
    uint32_t clCount[19] = {};
    for (unsigned k = 0; k < total;) {
        const uint8_t len = all[k];
        unsigned run = 1;
        while (k + run < total && all[k + run] == len) ++run;
        if (len == 0 && run >= 3) {
            const unsigned take = std::min(run, 138u);
            m_lengthSymbols.push_back(take >= 11 ? uint16_t(18 | (take - 11) << 5) : uint16_t(17 | (take - 3) << 5));
            ++clCount[take >= 11 ? 18 : 17];
            k += take;
        } else if (len != 0 && run >= 4) {
            m_lengthSymbols.push_back(len);
            ++clCount[len];
            const unsigned take = std::min(run - 1, 6u);
            m_lengthSymbols.push_back(uint16_t(16 | (take - 3) << 5));
            ++clCount[16];
            k += 1 + take;
        } else {
            m_lengthSymbols.push_back(len);
            ++clCount[len];
            ++k;
        }
    }
    BuildLengths(clCount, 19, 7, m_clLength);
    BuildCodes(m_clLength, 19, m_clCode);
    m_hclen = 19;
    while (m_hclen > 4 && m_clLength[kCodeLengthOrder[m_hclen - 1]] == 0) --m_hclen;

    size_t bits = 3 + 5 + 5 + 4 + 3 * m_hclen;
    for (uint16_t s : m_lengthSymbols) {
        const unsigned symbol = s & 31;
        bits += m_clLength[symbol] + (symbol >= 16 ? kRepeatExtraBits[symbol - 16] : 0);
    }
    for (unsigned s = 0; s < 286; ++s) bits += size_t(m_litCount[s]) * m_litLength[s];
    for (const Run& r : m_runs) bits += kLengths.code[r.length].extraBits + m_distLength[0];
    // The empty stored block after it: three header bits, padding, four bytes.
    m_bits = (bits + 3 + 7) / 8 * 8 + 32;
}

void DeflateRunBlock::Write(std::vector<uint8_t>& out) const {
    const size_t start = out.size();
    out.resize(start + Bytes() + 8);
    BitWriter bits(out.data() + start);
    bits.Put(0, 1);  // not the last block
    bits.Put(2, 2);  // dynamic codes
    bits.Put(m_hlit - 257, 5);
    bits.Put(m_hdist - 1, 5);
    bits.Put(m_hclen - 4, 4);
    for (unsigned k = 0; k < m_hclen; ++k) bits.Put(m_clLength[kCodeLengthOrder[k]], 3);
    for (uint16_t s : m_lengthSymbols) {
        const unsigned symbol = s & 31;
        bits.Put(m_clCode[symbol], m_clLength[symbol]);
        if (symbol >= 16) bits.Put(s >> 5, kRepeatExtraBits[symbol - 16]);
    }
    // Literals up to each run, then the run.
    size_t at = 0;
    auto literals = [&](size_t end) {
        for (; at + 3 <= end; at += 3) {
            const uint8_t a = m_data[at], b = m_data[at + 1], c = m_data[at + 2];
            const unsigned la = m_litLength[a], lb = m_litLength[b];
            bits.Put(uint32_t(m_litCode[a]) | uint32_t(m_litCode[b]) << la, la + lb);
            bits.Put(m_litCode[c], m_litLength[c]);
        }
        for (; at < end; ++at) bits.Put(m_litCode[m_data[at]], m_litLength[m_data[at]]);
    };
    for (const Run& r : m_runs) {
        literals(r.at);
        const LengthCode& c = kLengths.code[r.length];
        bits.Put(m_litCode[c.symbol], m_litLength[c.symbol]);
        bits.Put(c.extra, c.extraBits);
        bits.Put(m_distCode[0], m_distLength[0]);
        at = r.at + r.length;
    }
    literals(m_size);
    bits.Put(m_litCode[256], m_litLength[256]);
    bits.Put(0, 3);  // an empty stored block, not the last
    uint8_t* end = bits.Align();
    const uint8_t stored[4] = {0x00, 0x00, 0xFF, 0xFF};
    std::memcpy(end, stored, 4);
    out.resize(size_t(end + 4 - out.data()));
}
