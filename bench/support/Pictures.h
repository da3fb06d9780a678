#pragma once
// The test pictures the benchmarks make: 24-bit pixels whose bytes follow a fixed
// pattern, so that every run works on the same content.
#include <cstdint>

#include "image/LbImage.h"

namespace bench {

// Byte x of row y becomes x * xStep + y * yStep (modulo 256).
inline void FillPattern(LbImage& image, uint32_t xStep, uint32_t yStep) {
    const uint32_t rowBytes = image.GetWidth() * 3;
    for (uint32_t y = 0; y < image.GetHeight(); ++y) {
        uint8_t* row = image.GetBits(y);
        for (uint32_t x = 0; x < rowBytes; ++x) row[x] = uint8_t(x * xStep + y * yStep);
    }
}

inline LbImage PatternPicture(uint32_t width, uint32_t height, uint32_t xStep, uint32_t yStep) {
    LbImage image(width, height, 24, LB_FORMAT_BMP);
    FillPattern(image, xStep, yStep);
    return image;
}

}  // namespace bench
