#include "image/GifReadAhead.h"

#include <algorithm>
#include <cstring>

#include "image/LbFile.h"

bool GifReadAhead::Refill() {
    pos_ = 0;
    fill_ = file_->Read(buffer_, 1, kSize);
    return fill_ > 0;
}

size_t GifReadAhead::Read(uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n) {
        if (pos_ == fill_ && !Refill()) break;
        const size_t part = std::min(n - done, fill_ - pos_);
        std::memcpy(dst + done, buffer_ + pos_, part);
        pos_ += part;
        done += part;
    }
    return done;
}

bool GifReadAhead::Skip(size_t n) {
    while (n > 0) {
        if (pos_ == fill_ && !Refill()) return false;
        const size_t part = std::min(n, fill_ - pos_);
        pos_ += part;
        n -= part;
    }
    return true;
}

uint64_t GifReadAhead::SkipSubBlocks() {
    uint64_t total = 0;
    for (;;) {
        const int size = GetByte();
        if (size <= 0) return total;
        if (!Skip(size_t(size))) return total;
        total += uint64_t(size);
    }
}

int64_t GifReadAhead::Tell() const {
    const int64_t end = file_->Tell();
    return end < 0 ? end : end - int64_t(fill_ - pos_);
}

void GifReadAhead::Release() {
    if (fill_ > pos_) file_->Seek(-int64_t(fill_ - pos_), 1);
    fill_ = pos_ = 0;
}

bool GifReadAhead::SeekTo(int64_t position) {
    fill_ = pos_ = 0;
    return file_->Seek(position, 0);
}

uint64_t GifReadAhead::Remaining() const {
    const int64_t size = file_->Size();
    const int64_t here = Tell();
    return size > here && here >= 0 ? uint64_t(size - here) : 0;
}
