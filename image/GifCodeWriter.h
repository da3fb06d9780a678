#pragma once
// Packs variable-width codes least significant bit first into bytes and the bytes
// into GIF data sub-blocks (each preceded by its length) written to a stream.
#include <cstdint>

class LbFile;

class GifCodeWriter {
public:
    // blockSize: the longest sub-block written (at most 255).
    GifCodeWriter(LbFile* file, int blockSize) : m_file(file), m_blockSize(blockSize) {}

    void Put(uint32_t code, int width) {
        m_accum |= uint64_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_buffer[m_count++] = uint8_t(m_accum);
            m_accum >>= 8;
            m_bits -= 8;
            if (m_count == m_blockSize) WriteBlock();
        }
        ++m_codes;
    }
    // Writes the remaining bits and the last sub-block, then flushes the stream;
    // false when the stream reports an error.
    bool Finish();
    // Codes written so far.
    uint64_t CodeCount() const { return m_codes; }

private:
    void WriteBlock();

    LbFile* m_file;
    int m_blockSize;
    uint64_t m_accum = 0;
    int m_bits = 0;
    uint8_t m_buffer[256];
    int m_count = 0;
    uint64_t m_codes = 0;
};
