#pragma once
// Palette indices in a packed row of 1, 4 or 8 bits per pixel, the first pixel in the
// high bits of a byte. The setter keeps a value to the bits the row has.
#include <cstdint>

inline uint8_t PackedIndex(const uint8_t* row, uint32_t x, uint32_t bpp) {
    switch (bpp) {
        case 8: return row[x];
        case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : uint8_t(row[x >> 1] >> 4);
        default: return uint8_t((row[x >> 3] >> (7 - (x & 7))) & 1);
    }
}

inline void SetPackedIndex(uint8_t* row, uint32_t x, uint32_t bpp, uint8_t index) {
    switch (bpp) {
        case 8: row[x] = index; break;
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            row[x >> 1] = uint8_t((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
            break;
        }
        default: {
            const int shift = 7 - int(x & 7);
            row[x >> 3] = uint8_t((row[x >> 3] & ~(1 << shift)) | ((index & 1) << shift));
            break;
        }
    }
}
