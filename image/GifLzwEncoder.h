#pragma once
// GIF raster data written as one code per pixel (compressNONE) or with the
// standard LZW compression over a 5003-slot hash table (compressLZW).
#include <cstdint>

#include "image/GifCodeWriter.h"

class GifPixelRows;
class LbFile;

class GifLzwEncoder {
public:
    // minCodeSize: the code size byte written before the data (2 to 8).
    GifLzwEncoder(LbFile* file, int minCodeSize);

    // Both write the data sub-blocks (not the terminating zero-size block) and
    // return false when the stream reports a write error.
    bool compressNONE(GifPixelRows& pixels);
    bool compressLZW(GifPixelRows& pixels);

    uint64_t CodeCount() const { return m_out.CodeCount(); }

private:
    static constexpr int kHashSize = 5003;
    static constexpr int kMaxCode = 4096;

    void output(int code);
    void ClearBlock();
    void ClearHash();

    GifCodeWriter m_out;
    int m_initBits;      // code width after a clear
    int m_nBits;         // current code width
    int m_maxCode;       // largest code of the current width
    bool m_clearFlag = false;
    int m_freeEnt;       // next free code
    int m_clearCode;
    int m_eofCode;
    int32_t m_htab[kHashSize];
    uint16_t m_codetab[kHashSize];
};
