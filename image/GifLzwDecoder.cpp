#include "image/GifLzwDecoder.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "image/GifImageIterator.h"
#include "image/GifReadAhead.h"
#include "image/LbImage.h"

namespace {

constexpr size_t kDataSize = 16384;  // payload gathered at a time (64 sub-blocks)

uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;  // the reservoir is filled least significant byte first (little-endian host)
}

}  // namespace

void GifLzwDecoder::Reset(int codeSize) {
    m_codeSize = codeSize;
    m_clearCode = 1 << codeSize;
    m_endCode = m_clearCode + 1;
    m_firstFree = m_clearCode + 2;
    m_nextFree = m_firstFree;
    m_curSize = codeSize + 1;
    m_limit = 1 << m_curSize;
}

bool GifLzwDecoder::GatherBlocks() {
    if (m_dataEnded) return false;
    // Keep the unread bytes, then append whole sub-blocks while they fit.
    const size_t left = m_dataEnd - m_dataPos;
    std::memmove(m_data.data(), m_data.data() + m_dataPos, left);
    m_dataPos = 0;
    m_dataEnd = left;
    const size_t before = m_dataEnd;
    while (m_dataEnd + 255 <= kDataSize) {
        const int size = m_in->GetByte();
        if (size <= 0) {  // the zero-size terminator, or the end of the stream
            m_dataEnded = true;
            break;
        }
        const size_t got = m_in->Read(m_data.data() + m_dataEnd, size_t(size));
        m_dataEnd += got;
        if (got < size_t(size)) {  // truncated sub-block
            m_dataEnded = true;
            break;
        }
    }
    return m_dataEnd > before;
}

void GifLzwDecoder::Refill() {
    for (;;) {
        if (m_dataEnd - m_dataPos >= 8) {
            // A whole word: take as many bytes as the reservoir has room for.
            m_bits |= Load64(m_data.data() + m_dataPos) << m_bitCount;
            m_dataPos += size_t(63 - m_bitCount) >> 3;
            m_bitCount |= 56;
            return;
        }
        if (m_dataEnded || !GatherBlocks()) break;
    }
    // The last few bytes of the data, one at a time.
    while (m_bitCount <= 56 && m_dataPos < m_dataEnd) {
        m_bits |= uint64_t(m_data[m_dataPos++]) << m_bitCount;
        m_bitCount += 8;
    }
}

void GifLzwDecoder::AddString(int prev, uint8_t pixel) {
    const int n = m_nextFree++;
    const int len = m_length[prev];
    const int tailLen = ((len - 1) & 7) + 1;
    if (tailLen < 8) {
        m_tail[n] = m_tail[prev] | (uint64_t(pixel) << (8 * tailLen));
        m_head[n] = m_head[prev];
    } else {
        m_tail[n] = pixel;
        m_head[n] = uint16_t(prev);
    }
    m_first[n] = m_first[prev];
    m_length[n] = uint16_t(len + 1);
}

void GifLzwDecoder::WriteString(uint8_t* dst, int code, int len) const {
    // The last piece may write up to 7 bytes beyond dst + len (into the slack);
    // every earlier piece is exactly 8 pixels.
    int pos = len - (((len - 1) & 7) + 1);
    std::memcpy(dst + pos, &m_tail[code], 8);
    while (pos > 0) {
        code = m_head[code];
        pos -= 8;
        std::memcpy(dst + pos, &m_tail[code], 8);
    }
}

bool GifLzwDecoder::FlushLine() {
    const bool more = m_rows->out_line(m_line.data(), m_linePos);
    m_linePos = 0;
    // The escape flag may be raised from another thread while the decode runs.
    if (m_escape != nullptr && LbImage::AtomicField(*m_escape).load(std::memory_order_relaxed) != 0) return false;
    return more && !m_rows->Done();
}

bool GifLzwDecoder::PutPixels(const uint8_t* pixels, int len) {
    while (len > 0) {
        const uint32_t part = std::min<uint32_t>(uint32_t(len), m_width - m_linePos);
        std::memcpy(m_line.data() + m_linePos, pixels, part);
        m_linePos += part;
        pixels += part;
        len -= int(part);
        if (m_linePos == m_width && !FlushLine()) return false;
    }
    return true;
}

bool GifLzwDecoder::Output(int code) {
    const int len = m_length[code];
    if (m_linePos + uint32_t(len) < m_width) {
        WriteString(m_line.data() + m_linePos, code, len);
        m_linePos += uint32_t(len);
        return true;
    }
    WriteString(m_stack, code, len);
    return PutPixels(m_stack, len);
}

bool GifLzwDecoder::decoder(GifReadAhead& in, LbImageIterator& rows, const int32_t* escape) {
    m_in = &in;
    m_rows = &rows;
    m_escape = escape;
    m_badCodes = 0;
    m_dataPos = m_dataEnd = 0;
    m_dataEnded = false;
    m_bits = 0;
    m_bitCount = 0;

    // Codes are at most 12 bits wide, so 11 is the largest code size; a stream that
    // ends before the code size simply has no pixels.
    const int size = in.GetByte();
    m_codeSize = size;
    if (size < 0) return true;
    if (size < 1 || size > 11) {
        in.SkipSubBlocks();
        return false;
    }
    Reset(size);
    for (int i = 0; i < m_clearCode; ++i) {
        m_tail[i] = uint64_t(i & 0xFF);  // code sizes above 8 have literals beyond a byte
        m_head[i] = 0;
        m_first[i] = uint8_t(i);
        m_length[i] = 1;
    }
    if (rows.Done() || rows.GetWidth() == 0) {
        in.SkipSubBlocks();
        return true;
    }
    m_width = rows.GetWidth();
    m_line.assign(size_t(m_width) + kSlack, 0);
    m_linePos = 0;
    m_data.resize(kDataSize + kSlack);

    int prev = -1;  // no previous code: as right after a clear code
    for (;;) {
        int code = get_next_code();
        if (code == m_endCode) break;
        if (code == m_clearCode) {
            Reset(m_codeSize);
            do code = get_next_code();
            while (code == m_clearCode);
            if (code == m_endCode) break;
            prev = -1;
        }
        if (prev < 0) {
            // First code after a clear: a single pixel value.
            if (code >= m_nextFree) code = 0;
            prev = code;
            const uint8_t pixel = uint8_t(m_tail[code]);
            if (!PutPixels(&pixel, 1)) break;
            continue;
        }
        if (code < m_nextFree) {
            if (!Output(code)) break;
            if (m_nextFree < kMaxCodes) AddString(prev, m_first[code]);
        } else {
            // The string being defined: the previous one plus its first pixel. The
            // table is never full here, as 12-bit codes stop below kMaxCodes.
            if (code > m_nextFree) ++m_badCodes;
            AddString(prev, m_first[prev]);
            code = m_nextFree - 1;
            if (!Output(code)) break;
        }
        if (m_nextFree >= m_limit && m_curSize < 12) {
            ++m_curSize;
            m_limit <<= 1;
        }
        prev = code;
    }
    // A partial last row is stored as far as it goes.
    if (m_linePos > 0 && !rows.Done()) rows.out_line(m_line.data(), m_linePos);
    if (!m_dataEnded) in.SkipSubBlocks();
    return true;
}
