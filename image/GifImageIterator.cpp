#include "image/GifImageIterator.h"

#include <cstring>

#include "image/LbImage.h"
#include "image/LbPackedRow.h"

LbImageIterator::LbImageIterator(LbImage& image, bool interlaced)
    : m_image(image),
      m_width(image.GetWidth()),
      m_bpp(image.GetBpp()),
      m_interlaced(interlaced),
      m_step(interlaced ? 8 : 1),
      m_height(image.IsValid() ? image.GetHeight() : 0) {}

bool LbImageIterator::out_line(const uint8_t* pixels, uint32_t count) {
    if (Done()) return false;
    if (count > m_width) count = m_width;
    m_rowPtr = m_image.GetBits(m_height - 1 - m_curRow);
    switch (m_bpp) {
    case 8:
        std::memcpy(m_rowPtr, pixels, count);
        break;
    case 4:
        for (uint32_t x = 0; x < count; ++x) SetPackedIndex(m_rowPtr, x, 4, pixels[x]);
        break;
    case 1:
        for (uint32_t x = 0; x < count; ++x) SetPackedIndex(m_rowPtr, x, 1, pixels[x]);
        break;
    default:
        break;
    }
    Advance();
    return true;
}

void LbImageIterator::Advance() {
    m_curRow += m_step;
    if (!m_interlaced) return;
    // Passes: rows 0, 8, 16...; 4, 12...; 2, 6...; 1, 3, 5...
    static constexpr uint32_t kStart[] = {0, 0, 4, 2, 1};
    static constexpr uint32_t kStep[] = {0, 8, 8, 4, 2};
    while (m_curRow >= m_height && m_pass < 4) {
        ++m_pass;
        m_curRow = kStart[m_pass];
        m_step = kStep[m_pass];
    }
}
