#include "image/BmpRle.h"

#include "image/LbImage.h"
#include "image/LbStreamReader.h"

LbError BmpReadRleRows(LbFile* f, LbImage& picture, bool rle4, bool topDown) {
    const uint32_t width = picture.GetWidth(), height = picture.GetHeight();
    LbStreamReader in(f);
    int64_t x = 0, y = 0;
    auto put = [&](uint8_t index) {
        if (x < width && y < height) picture.SetPixelIndex(int32_t(x), int32_t(topDown ? height - 1 - y : y), index);
        ++x;
    };
    // Data that ends within the last row ends the picture; earlier, it is cut short.
    for (;;) {
        if (y >= height) return LbError::None;  // nothing further can land in the picture
        const int count = in.Get();
        const int value = in.Get();
        if (count < 0 || value < 0) return y + 1 >= height ? LbError::None : LbError::BmpData;
        if (count > 0) {  // encoded run
            if (x >= width) {
                x += count;
                continue;
            }
            for (int i = 0; i < count; ++i) put(rle4 ? uint8_t((i & 1) ? (value & 0x0F) : (value >> 4)) : uint8_t(value));
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return LbError::None;
        } else if (value == 2) {  // delta
            const int dx = in.Get();
            const int dy = in.Get();
            if (dx < 0 || dy < 0) return LbError::BmpData;
            x += dx;
            y += dy;
        } else {  // absolute run, padded to 16 bits
            const int bytes = rle4 ? (value + 1) / 2 : value;
            for (int i = 0; i < bytes; ++i) {
                const int b = in.Get();
                if (b < 0) return LbError::BmpData;
                if (rle4) {
                    put(uint8_t(b >> 4));
                    if (2 * i + 1 < value) put(uint8_t(b & 0x0F));
                } else {
                    put(uint8_t(b));
                }
            }
            if ((bytes & 1) && in.Get() < 0) return y + 1 >= height ? LbError::None : LbError::BmpData;
        }
    }
}
