#include "image/BmpBitFields.h"

#include <bit>
#include <cstdio>

#include "image/LbByteOrder.h"

BmpChannel::BmpChannel(uint32_t m) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    bits = std::popcount(mask);
    if (bits > 8) return;
    // Repeating the bits from the top down fills all eight: 5 bits abcde give abcdeabc.
    for (uint32_t v = 0; v < (1u << bits); ++v) {
        uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits) {
            const int at = 8 - bits - filled;
            out |= at >= 0 ? v << at : v >> -at;
        }
        widen[v] = uint8_t(out);
    }
}

std::string BmpMaskProblem(const BmpMasks& m, uint32_t bpp) {
    const struct {
        const char* name;
        uint32_t mask;
    } channels[] = {{"red", m.red}, {"green", m.green}, {"blue", m.blue}, {"alpha", m.alpha}};
    for (const auto& c : channels) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", c.mask);
        if (c.mask == 0) continue;
        const uint32_t run = c.mask >> std::countr_zero(c.mask);
        if ((run & (run + 1)) != 0) return std::string("BMP: the ") + c.name + " mask " + hex + " is not one run of bits";
        if (bpp < 32 && (c.mask >> bpp) != 0)
            return std::string("BMP: the ") + c.name + " mask " + hex + " reaches beyond " + std::to_string(bpp) +
                   "-bit pixels";
    }
    return {};
}

namespace {

// Every channel through its mask and widening; Bytes is the pixel's size (2 or 4).
template <uint32_t Bytes>
void MaskedRow(const uint8_t* src, uint32_t width, const BmpChannel ch[4], uint8_t* bgr, uint8_t* alpha) {
    for (uint32_t x = 0; x < width; ++x, bgr += 3) {
        const uint32_t w = Bytes == 2 ? LbLoad16(src + 2 * x) : LbLoad32(src + 4 * x);
        bgr[0] = ch[2].Of(w);
        bgr[1] = ch[1].Of(w);
        bgr[2] = ch[0].Of(w);
        if (alpha) alpha[x] = ch[3].bits ? ch[3].Of(w) : 255;
    }
}

}  // namespace

void BmpBitFieldRow(const uint8_t* src, uint32_t width, uint32_t bpp, const BmpChannel ch[4], uint8_t* bgr,
                    uint8_t* alpha) {
    if (bpp == 16) {
        MaskedRow<2>(src, width, ch, bgr, alpha);
        return;
    }
    if (ch[0].bits == 8 && ch[1].bits == 8 && ch[2].bits == 8 && alpha == nullptr) {
        // Whole bytes in any order: each channel is a shift, nothing to widen.
        const int r = ch[0].shift, g = ch[1].shift, b = ch[2].shift;
        for (uint32_t x = 0; x < width; ++x, bgr += 3) {
            const uint32_t w = LbLoad32(src + 4 * x);
            bgr[0] = uint8_t(w >> b);
            bgr[1] = uint8_t(w >> g);
            bgr[2] = uint8_t(w >> r);
        }
        return;
    }
    MaskedRow<4>(src, width, ch, bgr, alpha);
}
