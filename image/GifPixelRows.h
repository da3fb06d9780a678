#pragma once
// The palette indices of an indexed image, one unpacked row at a time, from the
// top row of the picture down (the image keeps its rows bottom-up).
#include <cstdint>
#include <vector>

#include "image/LbImage.h"
#include "image/LbPackedRow.h"

class GifPixelRows {
public:
    explicit GifPixelRows(const LbImage& image)
        : m_image(image), m_width(image.GetWidth()), m_height(image.GetHeight()), m_bpp(image.GetBpp()) {
        if (m_bpp != 8) m_row.resize(m_width);
    }

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }

    // Row y from the top; valid until the next call.
    const uint8_t* Row(uint32_t y) {
        const uint8_t* src = m_image.GetBits(m_height - 1 - y);
        if (m_bpp == 8) return src;
        if (m_bpp == 4) {
            for (uint32_t x = 0; x < m_width; ++x) m_row[x] = PackedIndex(src, x, 4);
        } else {
            for (uint32_t x = 0; x < m_width; ++x) m_row[x] = PackedIndex(src, x, 1);
        }
        return m_row.data();
    }

private:
    const LbImage& m_image;
    uint32_t m_width;
    uint32_t m_height;
    uint32_t m_bpp;
    std::vector<uint8_t> m_row;
};
