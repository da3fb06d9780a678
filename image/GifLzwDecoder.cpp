#include "image/GifLzwDecoder.h"

#include "image/GifImageIterator.h"
#include "image/GifReadAhead.h"

void GifLzwDecoder::Reset(int codeSize) {
    m_codeSize = codeSize;
    m_clearCode = 1 << codeSize;
    m_endCode = m_clearCode + 1;
    m_firstFree = m_clearCode + 2;
    m_nextFree = m_firstFree;
    m_curSize = codeSize + 1;
    m_limit = 1 << m_curSize;
}

bool GifLzwDecoder::FillReservoir() {
    while (m_bitCount <= 56) {
        if (m_blockPos == m_blockLen) {
            if (m_dataEnded) break;
            const int size = m_in->GetByte();
            if (size <= 0) {  // the zero-size terminator, or the end of the stream
                m_dataEnded = true;
                break;
            }
            m_blockLen = int(m_in->Read(m_block, size_t(size)));
            m_blockPos = 0;
            if (m_blockLen < size) m_dataEnded = true;  // truncated sub-block
            if (m_blockLen == 0) break;
        }
        m_bits |= uint64_t(m_block[m_blockPos++]) << m_bitCount;
        m_bitCount += 8;
    }
    return m_bitCount > 0;
}

int GifLzwDecoder::get_next_code() {
    if (m_bitCount < m_curSize) {
        FillReservoir();
        if (m_bitCount < m_curSize) return m_endCode;
    }
    const int code = int(m_bits & uint64_t(m_limit - 1));
    m_bits >>= m_curSize;
    m_bitCount -= m_curSize;
    return code;
}

bool GifLzwDecoder::FlushLine() {
    const bool more = m_rows->out_line(m_line.data(), m_linePos);
    m_linePos = 0;
    return more && !m_rows->Done();
}

bool GifLzwDecoder::PutPixel(uint8_t pixel) {
    m_line[m_linePos++] = pixel;
    if (m_linePos == m_line.size()) return FlushLine();
    return true;
}

bool GifLzwDecoder::Output(int code) {
    const int len = m_length[code];
    if (m_linePos + uint32_t(len) < m_line.size()) {
        // The whole string fits the row: write it backwards from its last pixel.
        uint8_t* p = m_line.data() + m_linePos + len;
        m_linePos += uint32_t(len);
        while (code >= m_firstFree) {
            *--p = m_suffix[code];
            code = m_prefix[code];
        }
        *--p = m_suffix[code];
        return true;
    }
    return OutputSlow(len, code);
}

bool GifLzwDecoder::OutputSlow(int len, int code) {
    int sp = len;
    while (code >= m_firstFree && sp > 1) {
        m_stack[--sp] = m_suffix[code];
        code = m_prefix[code];
    }
    m_stack[--sp] = m_suffix[code];
    for (int i = 0; i < len; ++i) {
        if (!PutPixel(m_stack[i])) return false;
    }
    return true;
}

bool GifLzwDecoder::decoder(GifReadAhead& in, LbImageIterator& rows, const int32_t* escape) {
    m_in = &in;
    m_rows = &rows;
    m_badCodes = 0;
    m_blockLen = m_blockPos = 0;
    m_dataEnded = false;
    m_bits = 0;
    m_bitCount = 0;

    const int size = in.GetByte();
    if (size < 2 || size > 9) {
        if (size >= 0) in.SkipSubBlocks();
        return false;
    }
    Reset(size);
    for (int i = 0; i < m_clearCode; ++i) {
        m_prefix[i] = 0;
        m_suffix[i] = uint8_t(i);
        m_first[i] = uint8_t(i);
        m_length[i] = 1;
    }
    if (rows.Done() || rows.GetWidth() == 0) {
        in.SkipSubBlocks();
        return true;
    }
    m_line.assign(rows.GetWidth(), 0);
    m_linePos = 0;

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
            if (!PutPixel(m_suffix[code])) break;
        } else {
            if (code >= m_nextFree) {
                if (code > m_nextFree) ++m_badCodes;
                if (m_nextFree < kMaxCodes) {
                    // The string being defined: the previous one plus its first pixel.
                    m_prefix[m_nextFree] = uint16_t(prev);
                    m_suffix[m_nextFree] = m_first[prev];
                    m_first[m_nextFree] = m_first[prev];
                    m_length[m_nextFree] = uint16_t(m_length[prev] + 1);
                    code = m_nextFree++;
                    if (!Output(code)) break;
                } else {
                    if (!Output(prev) || !PutPixel(m_first[prev])) break;
                    code = prev;
                }
            } else {
                if (!Output(code)) break;
                if (m_nextFree < kMaxCodes) {
                    m_prefix[m_nextFree] = uint16_t(prev);
                    m_suffix[m_nextFree] = m_first[code];
                    m_first[m_nextFree] = m_first[prev];
                    m_length[m_nextFree] = uint16_t(m_length[prev] + 1);
                    ++m_nextFree;
                }
            }
            if (m_nextFree >= m_limit && m_curSize < 12) {
                ++m_curSize;
                m_limit <<= 1;
            }
            prev = code;
        }
        if (escape != nullptr && *escape != 0) break;
    }
    // A partial last row is stored as far as it goes.
    if (m_linePos > 0 && !rows.Done()) rows.out_line(m_line.data(), m_linePos);
    if (!m_dataEnded) in.SkipSubBlocks();
    return true;
}
