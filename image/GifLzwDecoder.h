#pragma once
// The LZW decoder of GIF raster data: reads the minimum code size and the data
// sub-blocks through the read-ahead buffer and hands the pixels, one row at a
// time, to a row cursor.
//
// Speed: the sub-blocks' payload is gathered into one buffer so that codes are
// taken from a 64-bit reservoir refilled by whole words, and every table string
// is kept as a chain of 8-pixel pieces (its last 1 to 8 pixels, then a link to
// the code holding everything before them), so a string is written 8 pixels at a
// time instead of one pixel per table step.
#include <cstddef>
#include <cstdint>
#include <vector>

class GifReadAhead;
class LbImageIterator;

class GifLzwDecoder {
public:
    // Decodes one image's raster. Always leaves the reader right after the
    // zero-size block that ends the data (or at the end of the stream). Stops
    // early, keeping what was stored so far, on a code size outside 1 to 11, damaged data,
    // or when *escape becomes non-zero (looked at after every row). Returns
    // false only for a bad code size.
    bool decoder(GifReadAhead& in, LbImageIterator& rows, const int32_t* escape);

    // The code size byte the last decode read (-1 when the stream had ended).
    int CodeSize() const { return m_codeSize; }
    // Codes beyond the next free code met during the last decode (tolerated).
    uint32_t BadCodeCount() const { return m_badCodes; }

private:
    static constexpr int kMaxCodes = 4096;
    // Pieces are written as whole 8-byte words: buffers keep this much room
    // behind their last pixel.
    static constexpr int kSlack = 8;

    void Reset(int codeSize);
    // Next code of the current width; the end code when the data is exhausted.
    int get_next_code() {
        if (m_bitCount < m_curSize) {
            Refill();
            if (m_bitCount < m_curSize) return m_endCode;
        }
        const int code = int(m_bits & uint64_t(m_limit - 1));
        m_bits >>= m_curSize;
        m_bitCount -= m_curSize;
        return code;
    }
    void Refill();
    // Appends more sub-block payload to the data buffer; false when there is none.
    bool GatherBlocks();
    // Adds the string of 'prev' followed by 'pixel' as the next free code.
    void AddString(int prev, uint8_t pixel);
    // Writes the string of 'code' (length len) so that it ends at dst + len.
    void WriteString(uint8_t* dst, int code, int len) const;
    // Appends the string of 'code' to the current row; false once all rows are full.
    bool Output(int code);
    // Appends 'len' pixels that may run over the end of the row.
    bool PutPixels(const uint8_t* pixels, int len);
    bool FlushLine();

    GifReadAhead* m_in = nullptr;
    LbImageIterator* m_rows = nullptr;
    const int32_t* m_escape = nullptr;

    int m_codeSize = 0;
    int m_clearCode = 0;
    int m_endCode = 0;
    int m_firstFree = 0;
    int m_nextFree = 0;
    int m_curSize = 0;   // current code width
    int m_limit = 0;     // 1 << current code width
    uint32_t m_badCodes = 0;

    // Per code: its last 1 to 8 pixels (unused bytes zero), the code holding the
    // rest of its string (a multiple of 8 pixels), its first pixel and length.
    uint64_t m_tail[kMaxCodes];
    uint16_t m_head[kMaxCodes];
    uint8_t m_first[kMaxCodes];
    uint16_t m_length[kMaxCodes];
    uint8_t m_stack[kMaxCodes + 1 + kSlack];

    // Gathered sub-block payload and the bit reservoir (least significant bit first).
    std::vector<uint8_t> m_data;
    size_t m_dataPos = 0;
    size_t m_dataEnd = 0;
    bool m_dataEnded = false;
    uint64_t m_bits = 0;
    int m_bitCount = 0;

    // The row being gathered (with room for whole-word writes behind it).
    std::vector<uint8_t> m_line;
    uint32_t m_width = 0;
    uint32_t m_linePos = 0;
};
