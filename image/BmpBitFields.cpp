#include "image/BmpBitFields.h"

#include <bit>
#include <cstdio>
#include <vector>

#include "image/LbBudget.h"
#include "image/LbByteOrder.h"
#include "image/LbFile.h"
#include "image/LbImage.h"

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

namespace {

// Alpha that is 0 everywhere is a file that never meant any (many writers leave the
// byte unset): such a picture, like one opaque everywhere, keeps no alpha plane.
void DropUnusedAlpha(LbImage& image) {
    bool allZero = true, allOpaque = true;
    for (uint32_t y = 0; y < image.GetHeight() && (allZero || allOpaque); ++y) {
        const uint8_t* a = image.AlphaRow(y);
        for (uint32_t x = 0; x < image.GetWidth(); ++x) {
            allZero = allZero && a[x] == 0;
            allOpaque = allOpaque && a[x] == 255;
        }
    }
    if (allZero || allOpaque) image.AlphaDelete();
}

}  // namespace

LbError BmpReadBitFieldRows(LbFile* f, LbImage& picture, uint32_t fileBpp, const BmpMasks& masks, uint64_t fileRow,
                            bool topDown) {
    const uint32_t width = picture.GetWidth(), height = picture.GetHeight();
    const uint64_t lastRowBytes = (uint64_t(fileBpp) * width + 7) / 8;
    const BmpChannel channels[4] = {BmpChannel(masks.red), BmpChannel(masks.green), BmpChannel(masks.blue),
                                    BmpChannel(masks.alpha)};
    if (masks.alpha != 0 && !picture.AlphaCreate())
        return picture.GetLastErrorCode() == LbError::None ? LbError::Other : picture.GetLastErrorCode();
    LbBudgetHold hold(fileRow);
    if (!hold.ok()) {
        picture.SetLastError(LbError::OverLimit,
                             ("Can't allocate memory for a scratch row: " + LbMemoryLimitError(fileRow)).c_str());
        return LbError::OverLimit;
    }
    std::vector<uint8_t> scratch(fileRow);
    for (uint32_t y = 0; y < height; ++y) {
        const size_t want = y + 1 == height ? lastRowBytes : fileRow;
        if (f->Read(scratch.data(), 1, fileRow) < want) return LbError::BmpData;
        const uint32_t row = topDown ? height - 1 - y : y;
        BmpBitFieldRow(scratch.data(), width, fileBpp, channels, picture.GetBits(row), picture.AlphaRow(row));
    }
    if (picture.AlphaIsValid()) DropUnusedAlpha(picture);
    return LbError::None;
}
