#include "logo/DeviceLogoFile.h"

#include <array>
#include <cstring>

#include "image/BmpHeader.h"
#include "image/LbByteOrder.h"

namespace logo {
namespace {

constexpr size_t kFileHeader = kBmpFileHeaderBytes;
constexpr size_t kInfoHeader = 40;
constexpr size_t kHeaders = kFileHeader + kInfoHeader;

const uint8_t* Bytes(const std::string& b, size_t at) { return reinterpret_cast<const uint8_t*>(b.data()) + at; }
void Put32(std::string& b, size_t at, uint32_t v) { LbStore32(reinterpret_cast<uint8_t*>(b.data()) + at, v); }

// Stored rows of a bottom-up BMP: width, height, depth, where the rows start and how
// far apart they are, and the palette for 1, 4 and 8 bits per pixel.
struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bpp = 0;
    size_t pixels = 0;
    size_t stride = 0;
    std::array<uint16_t, 256> palette{};  // already in 5-5-5 form
};

bool ReadLayout(const std::string& bmp, Layout& l) {
    BmpHeader h;
    if (BmpReadHeaders(Bytes(bmp, 0), bmp.size(), h) != BmpHeaderRead::Read || h.infoSize < kInfoHeader) return false;
    if (h.width <= 0 || h.height <= 0 || h.compression != 0) return false;
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24) return false;
    // Bounds that keep every product below in 64 bits with room to spare.
    if (h.width > (1 << 20) || h.height > (1 << 20)) return false;
    l.bpp = uint16_t(h.bpp);
    l.width = uint32_t(h.width);
    l.height = uint32_t(h.height);
    l.stride = (size_t(l.width) * l.bpp + 31) / 32 * 4;
    l.pixels = h.dataOffset;
    if (l.pixels < kHeaders || l.pixels > bmp.size() || (bmp.size() - l.pixels) / l.stride < l.height) return false;
    if (l.bpp == 24) return true;

    const size_t paletteAt = kFileHeader + size_t(h.infoSize);
    uint32_t colours = h.clrUsed;
    if (colours == 0) colours = 1u << l.bpp;
    if (colours > 256 || paletteAt > l.pixels || (l.pixels - paletteAt) / 4 < colours) return false;
    // Entries are blue, green, red, reserved; indices past the table are black.
    for (uint32_t i = 0; i < colours; ++i) {
        const size_t at = paletteAt + 4 * size_t(i);
        l.palette[i] = Rgb555(uint8_t(bmp[at + 2]), uint8_t(bmp[at + 1]), uint8_t(bmp[at]));
    }
    return true;
}

// The 16-bit value of pixel x of a stored row.
uint16_t PixelOf(const Layout& l, const uint8_t* row, uint32_t x) {
    switch (l.bpp) {
    case 24: return Rgb555(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case 8: return l.palette[row[x]];
    case 4: return l.palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
    default: return l.palette[(row[x / 8] >> (7 - x % 8)) & 1];
    }
}

}  // namespace

Rewrite RewriteBmpTo16Bit(const std::string& bmp, std::string& out) {
    if (bmp.size() < 2 || bmp[0] != 'B' || bmp[1] != 'M') return Rewrite::NotBmp;
    Layout l;
    if (!ReadLayout(bmp, l)) return Rewrite::Unsupported;

    // The headers of the 24-bit form of the same picture: a palette picture gets the
    // sizes a 24-bit one would have; every other field is kept.
    const size_t stride24 = (size_t(l.width) * 24 + 31) / 32 * 4;
    const size_t area = stride24 * l.height;
    if (area > 0xFFFFFFFFu - kHeaders) return Rewrite::Unsupported;
    out.assign(kHeaders + area, '\0');
    std::memcpy(out.data(), bmp.data(), kHeaders);
    Put32(out, 2, uint32_t(kHeaders + area));
    Put32(out, 10, uint32_t(kHeaders));
    Put32(out, 14, uint32_t(kInfoHeader));
    LbStore16(reinterpret_cast<uint8_t*>(out.data()) + 28, 16);
    Put32(out, 34, uint32_t(area));
    Put32(out, 46, 0);
    Put32(out, 50, 0);

    // Packed rows of 2-byte pixels, low byte first, bottom row first.
    auto* dst = reinterpret_cast<uint8_t*>(out.data()) + kHeaders;
    const auto* src = reinterpret_cast<const uint8_t*>(bmp.data()) + l.pixels;
    for (uint32_t r = 0; r < l.height; ++r, src += l.stride) {
        for (uint32_t x = 0; x < l.width; ++x, dst += 2) {
            LbStore16(dst, PixelOf(l, src, x));
        }
    }
    return Rewrite::Done;
}

}  // namespace logo
