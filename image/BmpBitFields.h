#pragma once
// Bit-field pixels of 16- and 32-bit BMPs: each channel is one run of set bits in the
// pixel word, anywhere and of any width (5-5-5, 5-6-5, 3-10-3, 10-10-10, alpha in
// the low bits ...). A channel is widened to 8 bits by repeating its bits (31 of 5
// bits becomes 255), or cut to its top 8 bits when it is wider.
#include <cstdint>
#include <string>

#include "image/LbError.h"

class LbFile;
class LbImage;

struct BmpChannel {
    uint32_t mask = 0;
    int shift = 0;   // position of the lowest bit of the mask
    int bits = 0;    // width of the run; 0 for a channel the file leaves out
    uint8_t widen[256] = {};  // the 8-bit value of each channel value, for bits <= 8

    explicit BmpChannel(uint32_t mask = 0);
    uint8_t Of(uint32_t pixel) const {
        const uint32_t v = (pixel & mask) >> shift;
        return bits <= 8 ? widen[v] : uint8_t(v >> (bits - 8));
    }
};

struct BmpMasks {
    uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

// Why the masks cannot be used ("" when they can): a mask that is not one run of
// bits, or that reaches beyond the pixel's bits.
std::string BmpMaskProblem(const BmpMasks& masks, uint32_t bpp);

// Converts a row of bit-field pixels (16 or 32 bits, little-endian) to blue, green,
// red; alpha, when not null, gets the alpha channel (255 without an alpha mask).
void BmpBitFieldRow(const uint8_t* src, uint32_t width, uint32_t bpp, const BmpChannel channels[4], uint8_t* bgr,
                    uint8_t* alpha);

// Reads the rows of bit-field pixels (fileBpp 16 or 32, rows of fileRow bytes, the
// last of which may lack its padding) from the stream's position into picture, a
// 24-bit picture of the file's size; an alpha plane is made when the masks have alpha
// and dropped again when the alpha says nothing (all 0 or all 255). The file's rows
// come bottom first unless topDown. On failure the code, with picture's last error
// set for OverLimit; LbError::None when done.
LbError BmpReadBitFieldRows(LbFile* f, LbImage& picture, uint32_t fileBpp, const BmpMasks& masks, uint64_t fileRow,
                            bool topDown);
