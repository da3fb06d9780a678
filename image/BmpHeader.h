#pragma once
// The headers at the start of a BMP, read from bytes already in memory and never past
// them. A BMP is a 14-byte file header ("BM", the file's size, where the pixel rows
// start) followed by an info header whose first four bytes give its own size:
//   12  core header: width, height, planes, bits per pixel, 16 bits each
//   16  short OS/2 header: width and height of 32 bits, planes and bits of 16
//   40 and more: 32-bit width and height (a negative height stores the rows top
//       down), planes, bits per pixel, compression, image size, resolution, colours
//       used; the 52-, 56-, 108- and 124-byte versions add the red, green and blue
//       bit-field masks at byte 40 (alpha too from 56 bytes on).
// What each reader accepts of these fields is its own rule; this only reads them.
#include <cstddef>
#include <cstdint>

#include "image/BmpBitFields.h"

inline constexpr size_t kBmpFileHeaderBytes = 14;
// The file header and the largest info header whose fields are read.
inline constexpr size_t kBmpHeaderBytes = kBmpFileHeaderBytes + 124;

struct BmpHeader {
    uint32_t dataOffset = 0;  // from the file header; 0 without one
    uint32_t infoSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t planes = 0;
    uint32_t bpp = 0;
    uint32_t compression = 0;  // 0 for the 12- and 16-byte headers, which have none
    uint32_t sizeImage = 0;
    int32_t xPels = 0;
    int32_t yPels = 0;
    uint32_t clrUsed = 0;
    bool masksInHeader = false;
    BmpMasks masks;
};

enum class BmpHeaderRead {
    Read,
    NoSignature,  // the bytes do not begin with "BM" and a whole file header
    CutShort,     // the bytes end inside the fields of the info header
    UnknownSize,  // an info header size with no known layout (below 40, not 12 or 16)
};

// Reads the info header at the start of bytes.
BmpHeaderRead BmpReadInfoHeader(const uint8_t* bytes, size_t size, BmpHeader& header);
// Reads the file header at the start of bytes and the info header after it.
BmpHeaderRead BmpReadHeaders(const uint8_t* bytes, size_t size, BmpHeader& header);
