#pragma once
// Shared body of the image decoder fuzz targets.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/FuzzBudget.h"
#include "image/LbBudget.h"
#include "image/LbFile.h"
#include "image/LbImage.h"

inline int FuzzDecode(const uint8_t* data, size_t size, uint32_t type) {
    LbJob job;
    LbImage image;
    if (!image.Decode(data, size, type)) {
        if (image.GetLastError()[0] == 0 && type != LB_FORMAT_GIF) std::abort();  // a failure says why
        if (image.IsValid()) std::abort();  // and leaves the image empty
        return 0;
    }
    // Every pixel of the result is readable.
    uint32_t sum = 0;
    for (uint32_t y = 0; y < image.GetHeight(); y += 7)
        for (uint32_t x = 0; x < image.GetWidth(); x += 7) sum += image.GetPixelColor(int32_t(x), int32_t(y)).red;
    if (image.GetWidth() * image.GetHeight() <= 4096) {
        LbMemFile out;
        out.Open();
        if (!image.Encode(&out, LB_FORMAT_BMP)) std::abort();
    }
    return int(sum & 0);
}
