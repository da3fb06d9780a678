#pragma once
// Byte streams the image codecs read from and write to: an abstract stream, a
// stdio-file stream and a growable memory stream.
#include <cstddef>
#include <cstdint>
#include <cstdio>

class LbFile {
public:
    virtual ~LbFile() = default;

    // Releases the underlying file or buffer; returns success.
    virtual bool Close() = 0;
    // Reads up to size * count bytes; returns the number of whole items read.
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    // Returns the number of items written.
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    // origin 0 start, 1 current position, 2 end; returns success.
    virtual bool Seek(int64_t offset, int origin) = 0;
    // Current position, -1 without a stream.
    virtual int64_t Tell() = 0;
    // Total length, -1 without a stream.
    virtual int64_t Size() = 0;
    virtual bool Flush() = 0;
    // True at the end or without a stream.
    virtual bool Eof() = 0;
    // Non-zero after an error; -1 without a stream.
    virtual long Error() = 0;
    // Writes one byte; true when it was written.
    virtual bool PutC(uint8_t c) { return Write(&c, 1, 1) == 1; }
    // Next byte, or -1.
    virtual long GetC() = 0;
};

// A stdio stream. A given FILE* is closed only when closeFile says so; Open()ed
// files are closed.
class LbIOFile : public LbFile {
public:
    explicit LbIOFile(FILE* fp = nullptr, bool closeFile = false) : m_fp(fp), m_closeFile(closeFile && fp != nullptr) {}
    ~LbIOFile() override { Close(); }
    LbIOFile(const LbIOFile&) = delete;
    LbIOFile& operator=(const LbIOFile&) = delete;

    // Fails when a file is already open.
    bool Open(const char* name, const char* mode);
    FILE* GetFile() const { return m_fp; }

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool PutC(uint8_t c) override;
    long GetC() override;

private:
    FILE* m_fp;
    bool m_closeFile;
};

// A memory buffer that grows in whole 4096-byte steps as it is written.
class LbMemFile : public LbFile {
public:
    // With a buffer: reads (and writes within) the caller's bytes, which it never
    // frees; growing beyond them moves the data into a buffer of its own.
    explicit LbMemFile(uint8_t* buffer = nullptr, size_t size = 0);
    // Read-only use of constant bytes (decoding from memory).
    LbMemFile(const uint8_t* buffer, size_t size) : LbMemFile(const_cast<uint8_t*>(buffer), size) {}
    ~LbMemFile() override;
    LbMemFile(const LbMemFile&) = delete;
    LbMemFile& operator=(const LbMemFile&) = delete;

    // Fails when a buffer exists; otherwise starts an empty buffer of its own.
    bool Open();
    // The buffer; with detach the caller owns it (free()) and this stream forgets it.
    uint8_t* GetBuffer(bool detach = true);
    size_t GetCapacity() const { return m_capacity; }

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool PutC(uint8_t c) override;
    long GetC() override;

private:
    bool Reserve(size_t needed);

    uint8_t* m_buffer;
    size_t m_size;
    bool m_freeOnClose;
    size_t m_position;
    size_t m_capacity;
};
