#pragma once
// LbImageIterator: a row cursor that stores decoded GIF rows into an image.
// Rows arrive from the top of the picture down (in the four interlace passes
// when the image is interlaced) while the image keeps its rows bottom-up; 1- and
// 4-bit rows are packed into their bit format.
#include <cstdint>

class LbImage;

class LbImageIterator {
public:
    LbImageIterator(LbImage& image, bool interlaced);

    // Stores the first 'count' pixels of the next row (a shorter count leaves the
    // rest of the row as it was). Returns false once every row has been stored.
    bool out_line(const uint8_t* pixels, uint32_t count);
    bool Done() const { return m_curRow >= m_height; }
    uint32_t GetWidth() const { return m_width; }

private:
    void Advance();

    LbImage& m_image;
    uint32_t m_width;
    uint32_t m_bpp;
    // Interlace state: current row from the top, its step and pass (1 to 4).
    bool m_interlaced;
    uint32_t m_curRow = 0;
    uint32_t m_step;
    int m_pass = 1;
    uint32_t m_height;
    uint8_t* m_rowPtr = nullptr;
};
