#include "image/LbFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

// ---------------------------------------------------------------- LbIOFile

bool LbIOFile::Open(const char* name, const char* mode) {
    if (m_fp != nullptr || name == nullptr || mode == nullptr) return false;
    m_fp = std::fopen(name, mode);
    if (m_fp == nullptr) return false;
    m_closeFile = true;
    return true;
}

bool LbIOFile::Close() {
    if (m_fp == nullptr || !m_closeFile) return false;
    const int rc = std::fclose(m_fp);
    m_fp = nullptr;
    m_closeFile = false;
    return rc == 0;
}

size_t LbIOFile::Read(void* buffer, size_t size, size_t count) {
    if (m_fp == nullptr || buffer == nullptr) return 0;
    return std::fread(buffer, size, count, m_fp);
}

size_t LbIOFile::Write(const void* buffer, size_t size, size_t count) {
    if (m_fp == nullptr || buffer == nullptr) return 0;
    return std::fwrite(buffer, size, count, m_fp);
}

bool LbIOFile::Seek(int64_t offset, int origin) {
    if (m_fp == nullptr) return false;
    return fseeko(m_fp, off_t(offset), origin) == 0;
}

int64_t LbIOFile::Tell() {
    if (m_fp == nullptr) return -1;
    return int64_t(ftello(m_fp));
}

int64_t LbIOFile::Size() {
    if (m_fp == nullptr) return -1;
    const off_t here = ftello(m_fp);
    fseeko(m_fp, 0, SEEK_END);
    const off_t size = ftello(m_fp);
    fseeko(m_fp, here, SEEK_SET);
    return int64_t(size);
}

bool LbIOFile::Flush() { return m_fp != nullptr && std::fflush(m_fp) == 0; }

bool LbIOFile::Eof() { return m_fp == nullptr || std::feof(m_fp) != 0; }

long LbIOFile::Error() {
    if (m_fp == nullptr) return -1;
    return std::ferror(m_fp);
}

bool LbIOFile::PutC(uint8_t c) {
    if (m_fp == nullptr) return false;
    return std::fputc(c, m_fp) == c;
}

long LbIOFile::GetC() {
    if (m_fp == nullptr) return -1;
    const int c = std::getc(m_fp);
    return c == EOF ? -1 : c;
}

// ---------------------------------------------------------------- LbMemFile

LbMemFile::LbMemFile(uint8_t* buffer, size_t size)
    : m_buffer(buffer), m_size(buffer ? size : 0), m_freeOnClose(buffer == nullptr), m_position(0),
      m_capacity(buffer ? size : 0) {}

LbMemFile::~LbMemFile() { Close(); }

bool LbMemFile::Open() {
    if (m_buffer != nullptr) return false;
    m_buffer = static_cast<uint8_t*>(std::malloc(1));
    if (m_buffer == nullptr) return false;
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
    m_freeOnClose = true;
    return true;
}

bool LbMemFile::Close() {
    if (m_buffer != nullptr && m_freeOnClose) std::free(m_buffer);
    m_buffer = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
    return true;
}

uint8_t* LbMemFile::GetBuffer(bool detach) {
    uint8_t* buffer = m_buffer;
    if (detach) {
        m_buffer = nullptr;
        m_size = 0;
        m_capacity = 0;
        m_position = 0;
        m_freeOnClose = true;
    }
    return buffer;
}

bool LbMemFile::Reserve(size_t needed) {
    if (needed <= m_capacity && m_buffer != nullptr) return true;
    const size_t missing = needed - m_capacity;
    if (missing > std::numeric_limits<size_t>::max() - 4095) return false;
    const size_t steps = (missing + 4095) / 4096;
    if (steps > (std::numeric_limits<size_t>::max() - m_capacity) / 4096) return false;
    const size_t capacity = m_capacity + steps * 4096;
    uint8_t* grown;
    if (m_freeOnClose) {
        grown = static_cast<uint8_t*>(std::realloc(m_buffer, capacity));
    } else {
        // Never reallocate memory that belongs to the caller: move into our own.
        grown = static_cast<uint8_t*>(std::malloc(capacity));
        if (grown != nullptr && m_buffer != nullptr) std::memcpy(grown, m_buffer, m_size);
    }
    if (grown == nullptr) return false;
    m_buffer = grown;
    m_capacity = capacity;
    m_freeOnClose = true;
    return true;
}

size_t LbMemFile::Read(void* buffer, size_t size, size_t count) {
    if (m_buffer == nullptr || buffer == nullptr || m_position >= m_size) return 0;
    if (size == 0 || count == 0 || count > std::numeric_limits<size_t>::max() / size) return 0;
    const size_t wanted = size * count;
    const size_t available = m_size - m_position;
    const size_t n = wanted < available ? wanted : available;
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n / size;
}

size_t LbMemFile::Write(const void* buffer, size_t size, size_t count) {
    if (m_buffer == nullptr || buffer == nullptr) return 0;
    if (size == 0 || count == 0 || count > std::numeric_limits<size_t>::max() / size) return 0;
    const size_t bytes = size * count;
    if (m_position > std::numeric_limits<size_t>::max() - bytes) return 0;
    const size_t end = m_position + bytes;
    if (end > m_capacity && !Reserve(end)) return 0;
    if (m_position > m_size) std::memset(m_buffer + m_size, 0, m_position - m_size);
    std::memcpy(m_buffer + m_position, buffer, bytes);
    m_position = end;
    if (m_position > m_size) m_size = m_position;
    return count;
}

bool LbMemFile::Seek(int64_t offset, int origin) {
    int64_t base;
    switch (origin) {
        case 0: base = 0; break;
        case 1: base = int64_t(m_position); break;
        case 2: base = int64_t(m_size); break;
        default: return false;
    }
    if ((offset > 0 && base > std::numeric_limits<int64_t>::max() - offset)) return false;
    const int64_t target = base + offset;
    if (target < 0) return false;
    m_position = size_t(target);
    return true;
}

int64_t LbMemFile::Tell() { return m_buffer ? int64_t(m_position) : -1; }

int64_t LbMemFile::Size() { return m_buffer ? int64_t(m_size) : -1; }

bool LbMemFile::Flush() { return m_buffer != nullptr; }

bool LbMemFile::Eof() { return m_buffer == nullptr || m_position >= m_size; }

long LbMemFile::Error() {
    if (m_buffer == nullptr) return -1;
    return m_position > m_size ? 1 : 0;
}

bool LbMemFile::PutC(uint8_t c) { return Write(&c, 1, 1) == 1; }

long LbMemFile::GetC() {
    if (Eof()) return -1;
    return m_buffer[m_position++];
}
