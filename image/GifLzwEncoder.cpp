#include "image/GifLzwEncoder.h"

#include "image/GifPixelRows.h"

GifLzwEncoder::GifLzwEncoder(LbFile* file, int minCodeSize)
    : m_out(file, 254),
      m_initBits(minCodeSize + 1),
      m_nBits(minCodeSize + 1),
      m_maxCode((1 << (minCodeSize + 1)) - 1),
      m_freeEnt((1 << minCodeSize) + 2),
      m_clearCode(1 << minCodeSize),
      m_eofCode((1 << minCodeSize) + 1) {}

void GifLzwEncoder::output(int code) {
    m_out.Put(uint32_t(code), m_nBits);
    // The width changes after the code that the decoder reads just before it
    // grows its own table past the current width (or after a clear code).
    if (m_clearFlag) {
        m_nBits = m_initBits;
        m_maxCode = (1 << m_nBits) - 1;
        m_clearFlag = false;
    } else if (m_freeEnt > m_maxCode) {
        ++m_nBits;
        m_maxCode = m_nBits == 12 ? kMaxCode : (1 << m_nBits) - 1;
    }
}

void GifLzwEncoder::ClearHash() {
    for (int32_t& slot : m_htab) slot = -1;
}

void GifLzwEncoder::ClearBlock() {
    ClearHash();
    m_freeEnt = m_clearCode + 2;
    m_clearFlag = true;
    output(m_clearCode);
}

bool GifLzwEncoder::compressNONE(GifPixelRows& pixels) {
    output(m_clearCode);
    for (uint32_t y = 0; y < pixels.Height(); ++y) {
        const uint8_t* row = pixels.Row(y);
        for (uint32_t x = 0; x < pixels.Width(); ++x) {
            output(row[x]);
            // Count the table entry a decoder makes for each code, so that the
            // widths stay in step with it.
            if (m_freeEnt < kMaxCode) {
                ++m_freeEnt;
            } else {
                ClearBlock();
            }
        }
    }
    output(m_eofCode);
    return m_out.Finish();
}

bool GifLzwEncoder::compressLZW(GifPixelRows& pixels) {
    ClearHash();
    output(m_clearCode);
    int ent = -1;
    for (uint32_t y = 0; y < pixels.Height(); ++y) {
        const uint8_t* row = pixels.Row(y);
        uint32_t x = 0;
        if (ent < 0) ent = row[x++];
        for (; x < pixels.Width(); ++x) {
            const int c = row[x];
            const int32_t fcode = (int32_t(c) << 12) + ent;
            int i = (c << 4) ^ ent;
            if (m_htab[i] == fcode) {
                ent = m_codetab[i];
                continue;
            }
            if (m_htab[i] >= 0) {
                const int disp = i == 0 ? 1 : kHashSize - i;
                bool found = false;
                do {
                    i -= disp;
                    if (i < 0) i += kHashSize;
                    if (m_htab[i] == fcode) {
                        found = true;
                        break;
                    }
                } while (m_htab[i] >= 0);
                if (found) {
                    ent = m_codetab[i];
                    continue;
                }
            }
            output(ent);
            ent = c;
            if (m_freeEnt < kMaxCode) {
                m_codetab[i] = uint16_t(m_freeEnt++);
                m_htab[i] = fcode;
            } else {
                ClearBlock();
            }
        }
    }
    if (ent >= 0) output(ent);
    output(m_eofCode);
    return m_out.Finish();
}
