#pragma once
// GIF raster data written as one code per pixel (compressNONE) or with the
// standard LZW compression (compressLZW).
//
// compressLZW does not empty a full table at once: it keeps coding with the full
// table while that compresses at least as well as it did, and clears it only when
// the ratio since the last clear starts to fall. Decoders simply stop adding
// strings to a full table, so the stream stays ordinary GIF data; pictures whose
// statistics stay alike get markedly smaller files.
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
    // A power-of-two table at most half full: few probes, even when the table of
    // strings is full and kept.
    static constexpr int kHashBits = 13;
    static constexpr uint32_t kHashSize = 1u << kHashBits;
    static constexpr int kMaxCode = 4096;

    // Pixels coded between two looks at the compression ratio of a full table.
    static constexpr uint64_t kCheckGap = 512;
    // Longest pause (in table fills) between two tries of keeping a full table.
    static constexpr uint32_t kMaxWait = 64;

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
    uint64_t m_bitsOut = 0;  // bits written since the last clear
    // Open-addressed table of strings: (pixel << 12 | prefix code) << 12 | code.
    uint32_t m_slots[kHashSize];
};
