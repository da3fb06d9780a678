#include "image/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>

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
    m_bitsOut += uint64_t(m_nBits);
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
    std::memset(m_slots, 0, sizeof m_slots);
}

void GifLzwEncoder::ClearBlock() {
    ClearHash();
    m_freeEnt = m_clearCode + 2;
    m_clearFlag = true;
    output(m_clearCode);
    m_bitsOut = 0;
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
    m_bitsOut = 0;
    int ent = -1;
    // The ratio (pixels per bit) is looked at over windows of kCheckGap pixels.
    // While the table fills, the last window's ratio is kept; when it is full, the
    // ratio since the last clear is the baseline: the full table is kept only while
    // each window does at least as well as that.
    uint64_t clearedAt = 0, windowAt = 0, windowBits = 0;
    uint64_t recentPixels = 0, recentBits = 1, basePixels = 0, baseBits = 1;
    bool frozen = false;
    // A full table that did not last one window is not tried again for the next
    // 'wait' fills, and each such miss doubles the wait.
    uint32_t wait = 0, waitNext = 1;
    bool checked = false;  // a window has passed since the table froze
    // A clear code: an empty table from pixel `at`, its first window starting there.
    auto restart = [&](uint64_t at) {
        ClearBlock();
        clearedAt = windowAt = at;
        windowBits = 0;
        frozen = false;
    };
    for (uint32_t y = 0; y < pixels.Height(); ++y) {
        const uint8_t* row = pixels.Row(y);
        uint32_t x = 0;
        if (ent < 0) ent = row[x++];
        for (; x < pixels.Width(); ++x) {
            const int c = row[x];
            // Slot: (pixel << 12 | prefix) << 12 | code; 0 is empty, as no string
            // of the table has a code below the first free one.
            const uint32_t key = ((uint32_t(c) << 12) | uint32_t(ent)) << 12;
            uint32_t i = (key * 2654435761u) >> (32 - kHashBits);
            uint32_t slot = m_slots[i];
            while (slot != 0 && (slot & ~0xFFFu) != key) {
                i = (i + 1) & (kHashSize - 1);
                slot = m_slots[i];
            }
            if (slot != 0) {
                ent = int(slot & 0xFFF);
                continue;
            }
            output(ent);
            ent = c;
            const uint64_t pos = uint64_t(y) * pixels.Width() + x;
            if (pos - windowAt >= kCheckGap) {
                const uint64_t p = pos - windowAt, b = m_bitsOut - windowBits;
                windowAt = pos;
                windowBits = m_bitsOut;
                if (frozen && p * baseBits < basePixels * b) {
                    if (!checked) {
                        wait = waitNext;
                        waitNext = std::min<uint32_t>(waitNext * 2, kMaxWait);
                    } else {
                        waitNext = 1;
                    }
                    restart(pos);
                    continue;
                }
                recentPixels = p;
                recentBits = b;
                checked = frozen;
            }
            if (m_freeEnt < kMaxCode) {
                m_slots[i] = key | uint32_t(m_freeEnt++);
                continue;
            }
            if (frozen) continue;
            // The table has just become full: keep it when its last window coded
            // at least 10% better than the average since the last clear.
            basePixels = pos - clearedAt;
            baseBits = m_bitsOut;
            if (wait > 0) {
                --wait;
            } else if (recentPixels * baseBits * 10 >= basePixels * recentBits * 11) {
                frozen = true;
                checked = false;
                windowAt = pos;
                windowBits = m_bitsOut;
                continue;
            }
            restart(pos);
        }
    }
    if (ent >= 0) output(ent);
    output(m_eofCode);
    return m_out.Finish();
}
