#pragma once
// The device logo file: a BMP whose pixels are 16-bit RGB 5-5-5 values, written from
// the BMP that the image library makes of the working logo.
#include <cstdint>
#include <string>

namespace logo {

constexpr int kLogoSize = 96;                 // the logo is 96 x 96 pixels
constexpr size_t kDeviceLogoFileSize = 27702;  // 54 header bytes + 96 rows of 288 bytes

// (R >> 3) << 10 | (G >> 3) << 5 | (B >> 3): the low three bits of each channel dropped.
constexpr uint16_t Rgb555(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
}

enum class Rewrite {
    Done,
    NotBmp,        // the bytes do not start with "BM"
    Unsupported,   // a BMP, but not an uncompressed 1, 4, 8 or 24-bit one that fits its file
};

// Rewrites the bytes of a BMP into the 16-bit form. The headers keep every field of the
// 24-bit BMP of the same picture except the bits per pixel, which become 16; the pixel
// area keeps its 24-bit length, holds the packed 16-bit rows (bottom row first) and is
// zero after them. A picture with a palette (the dithered logo, or one cut from a
// palette picture) is written through its palette colours, so it gives the same bytes
// as the 24-bit BMP of those colours. Nothing outside the file's pixel area is read.
Rewrite RewriteBmpTo16Bit(const std::string& bmp, std::string& out);

}  // namespace logo
