#pragma once
// Buffered reading of a GIF stream: blocks and raster data are read through one
// 16384-byte read-ahead buffer; Release() gives the unread part back to the stream
// so that its position is exactly after the last byte consumed.
#include <cstddef>
#include <cstdint>

class LbFile;

class GifReadAhead {
public:
    static constexpr size_t kSize = 16384;

    explicit GifReadAhead(LbFile* file) : file_(file) {}

    // Next byte, or -1 at the end of the stream.
    int GetByte() {
        if (pos_ == fill_ && !Refill()) return -1;
        return buffer_[pos_++];
    }
    // Reads up to n bytes; returns how many were read.
    size_t Read(uint8_t* dst, size_t n);
    // Skips n bytes; false when the stream ended first.
    bool Skip(size_t n);
    // Skips data sub-blocks up to and including the zero-size terminator;
    // returns the number of data bytes skipped.
    uint64_t SkipSubBlocks();
    // Stream position of the next byte this reader hands out.
    int64_t Tell() const;
    // Seeks the stream back over the unread part of the buffer and empties it.
    void Release();
    // Moves to an absolute stream position (empties the buffer).
    bool SeekTo(int64_t position);
    // Bytes left in the stream after the reading position (0 when unknown).
    uint64_t Remaining() const;

private:
    bool Refill();

    LbFile* file_;
    uint8_t buffer_[kSize];
    size_t fill_ = 0;
    size_t pos_ = 0;
};
