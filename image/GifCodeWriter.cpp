#include "image/GifCodeWriter.h"

#include "image/LbFile.h"

void GifCodeWriter::WriteBlock() {
    if (m_count == 0) return;
    const uint8_t len = uint8_t(m_count);
    m_file->Write(&len, 1, 1);
    m_file->Write(m_buffer, 1, size_t(m_count));
    m_count = 0;
}

bool GifCodeWriter::Finish() {
    if (m_bits > 0) {
        m_buffer[m_count++] = uint8_t(m_accum);
        m_accum = 0;
        m_bits = 0;
        if (m_count == m_blockSize) WriteBlock();
    }
    WriteBlock();
    m_file->Flush();
    return m_file->Error() == 0;
}
