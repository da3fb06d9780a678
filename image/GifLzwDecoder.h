#pragma once
// The LZW decoder of GIF raster data: reads the minimum code size and the data
// sub-blocks through the read-ahead buffer and hands the pixels, one row at a
// time, to a row cursor.
#include <cstdint>
#include <vector>

class GifReadAhead;
class LbImageIterator;

class GifLzwDecoder {
public:
    // Decodes one image's raster. Always leaves the reader right after the
    // zero-size block that ends the data (or at the end of the stream). Stops
    // early, keeping what was stored so far, on a bad code size, damaged data,
    // or when *escape becomes non-zero. Returns false only for a bad code size.
    bool decoder(GifReadAhead& in, LbImageIterator& rows, const int32_t* escape);

    // Codes beyond the next free code met during the last decode (tolerated).
    uint32_t BadCodeCount() const { return m_badCodes; }

private:
    static constexpr int kMaxCodes = 4096;

    void Reset(int codeSize);
    // Next code of the current width; the end code when the data is exhausted.
    int get_next_code();
    bool FillReservoir();
    // Appends the string of 'code' to the current row; false once all rows are full.
    bool Output(int code);
    bool OutputSlow(int len, int code);
    bool PutPixel(uint8_t pixel);
    bool FlushLine();

    GifReadAhead* m_in = nullptr;
    LbImageIterator* m_rows = nullptr;

    int m_codeSize = 0;
    int m_clearCode = 0;
    int m_endCode = 0;
    int m_firstFree = 0;
    int m_nextFree = 0;
    int m_curSize = 0;   // current code width
    int m_limit = 0;     // 1 << current code width
    uint32_t m_badCodes = 0;

    uint16_t m_prefix[kMaxCodes];
    uint8_t m_suffix[kMaxCodes];
    uint8_t m_first[kMaxCodes];
    uint16_t m_length[kMaxCodes];
    uint8_t m_stack[kMaxCodes + 1];

    // Sub-block buffer and bit reservoir (codes are read least significant bit first).
    uint8_t m_block[255];
    int m_blockLen = 0;
    int m_blockPos = 0;
    bool m_dataEnded = false;
    uint64_t m_bits = 0;
    int m_bitCount = 0;

    // The row being gathered.
    std::vector<uint8_t> m_line;
    uint32_t m_linePos = 0;
};
