#pragma once
// Tiny files that claim huge pictures, shared by the bounded-input tests and the
// benchmarks that time them.
#include <cstdint>
#include <string>

namespace hostile {

inline void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (8 * i));
}

inline std::string Le16(uint32_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }

// A BMP file and info header; extra bytes are counted in the file size.
inline std::string BmpHeader(int32_t width, int32_t height, uint16_t bpp, uint32_t compression, size_t extra) {
    std::string b(54, '\0');
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, uint32_t(54 + extra));
    Put32(b, 10, 54 + (bpp <= 8 ? 4u << bpp : 0u));
    Put32(b, 14, 40);
    Put32(b, 18, uint32_t(width));
    Put32(b, 22, uint32_t(height));
    b[26] = 1;
    b[28] = char(bpp);
    Put32(b, 30, compression);
    return b;
}

// An 8-bit run-length BMP of width x height whose data is only "end of bitmap".
inline std::string EmptyRle8Bmp(int32_t width, int32_t height) {
    return BmpHeader(width, height, 8, 1, 1024 + 2) + std::string(1024, '\0') + std::string("\0\x01", 2);
}

// A 1 x 1 PNG whose first chunk after the header is a tEXt claiming 2 GB.
inline std::string HugeTextPng() {
    std::string p("\x89PNG\r\n\x1a\n", 8);
    p += std::string("\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\0\0\0\0\x3a\x7e\x9b\x55", 25);
    return p + std::string("\x7f\xff\xff\xfftEXt", 8) + "a" + std::string(1, '\0') + std::string(40, 'x');
}

// A GIF whose screen and frames are width x height, each frame left in place and
// without data: every frame is drawn whole.
inline std::string EmptyFramesGif(uint32_t width, uint32_t height, int frames) {
    std::string g = "GIF89a" + Le16(width) + Le16(height) + std::string("\x80\0\0", 3) + std::string("\0\0\0\xff\xff\xff", 6);
    for (int i = 0; i < frames; ++i)
        g += std::string("\x21\xf9\x04\x04\0\0\0\0\x2c\0\0\0\0", 13) + Le16(width) + Le16(height) +
             std::string("\0\x02\0", 3);
    return g + ";";
}

// A header-only CSV followed by rows of one memo entry each.
inline std::string MemoRows(int rows) {
    std::string csv = "name,tel,email\n";
    for (int i = 0; i < rows; ++i) csv += "n" + std::to_string(i) + ",1,\n";
    return csv;
}

// A header-only CSV followed by rows of one Zandri song each.
inline std::string SongRows(int rows) {
    std::string csv = "brand,title,singer,number\n";
    for (int i = 0; i < rows; ++i) csv += "Zandri,t" + std::to_string(i) + ",s,1\n";
    return csv;
}

}  // namespace hostile
