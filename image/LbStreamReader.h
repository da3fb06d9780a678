#pragma once
// Buffered byte-at-a-time reading from an LbFile, for codecs that consume their
// input in small pieces (run-length data). Never reads past what the stream gives.
#include <cstddef>
#include <cstdint>

#include "image/LbFile.h"

class LbStreamReader {
public:
    explicit LbStreamReader(LbFile* file) : m_file(file) {}

    // Next byte, or -1 at the end of the stream.
    int Get() {
        if (m_pos == m_fill) {
            m_fill = m_file->Read(m_buffer, 1, sizeof m_buffer);
            m_pos = 0;
            if (m_fill == 0) return -1;
        }
        return m_buffer[m_pos++];
    }
    // Skips n bytes; false when the stream ends first.
    bool Skip(size_t n) {
        while (n-- > 0)
            if (Get() < 0) return false;
        return true;
    }

private:
    LbFile* m_file;
    uint8_t m_buffer[4096];
    size_t m_fill = 0;
    size_t m_pos = 0;
};
