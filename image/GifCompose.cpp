#include "image/GifCompose.h"

#include <algorithm>
#include <cstring>

#include "image/LbImage.h"
#include "image/LbPackedRow.h"

namespace {

// The part of a w x h frame at (left, top) that lies on a screen of sw x sh.
uint32_t ClippedWidth(uint32_t left, uint32_t w, uint32_t sw) { return left >= sw ? 0 : std::min(w, sw - left); }

}  // namespace

void GifMix(LbImage& picture, const LbImage& frame, uint32_t left, uint32_t top, int32_t transIndex) {
    const uint32_t fh = frame.GetHeight(), ph = picture.GetHeight();
    const uint32_t width = ClippedWidth(left, frame.GetWidth(), picture.GetWidth());
    if (width == 0 || top >= ph || !frame.IsValid()) return;
    const uint32_t height = std::min(fh, ph - top);
    const uint32_t fb = frame.GetBpp(), pb = picture.GetBpp();
    // Without a transparent index every pixel is drawn, so whole bytes can be copied.
    const bool wholeBytes =
        fb == pb && (transIndex < 0 || transIndex >= (int32_t(1) << fb)) && uint64_t(left) * pb % 8 == 0;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* src = frame.GetBits(fh - 1 - y);
        uint8_t* dst = picture.GetBits(ph - 1 - (top + y));
        uint32_t x = 0;
        if (wholeBytes) {  // the rest of a part byte is drawn below
            const uint32_t bytes = uint32_t(uint64_t(width) * fb / 8);
            std::memcpy(dst + size_t(left) * pb / 8, src, bytes);
            x = bytes * 8 / fb;
        }
        for (; x < width; ++x) {
            const uint8_t index = PackedIndex(src, x, fb);
            if (int32_t(index) != transIndex) SetPackedIndex(dst, left + x, pb, index);
        }
    }
}

bool GifNewScreen(LbImage& screen, uint32_t width, uint32_t height) {
    if (screen.Create(width, height, 24, 2) == nullptr || !screen.AlphaCreate()) return false;
    screen.Clear(0);
    for (uint32_t y = 0; y < height; ++y) std::memset(screen.AlphaRow(y), 0, width);
    return true;
}

bool GifScreenFromIndexed(const LbImage& indexed, int32_t transIndex, LbImage& screen) {
    const uint32_t w = indexed.GetWidth(), h = indexed.GetHeight();
    if (!GifNewScreen(screen, w, h)) return false;
    GifDrawOnScreen(screen, indexed, 0, 0, transIndex);
    return true;
}

void GifDrawOnScreen(LbImage& screen, const LbImage& frame, uint32_t left, uint32_t top, int32_t transIndex) {
    const uint32_t fh = frame.GetHeight(), sh = screen.GetHeight();
    const uint32_t width = ClippedWidth(left, frame.GetWidth(), screen.GetWidth());
    if (width == 0 || top >= sh || !frame.IsValid()) return;
    const uint32_t height = std::min(fh, sh - top);
    LbRgbQuad colors[256];
    for (uint32_t i = 0; i < 256; ++i) colors[i] = frame.GetPaletteColor(uint8_t(i));
    const uint32_t bpp = frame.GetBpp();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* src = frame.GetBits(fh - 1 - y);
        const uint32_t row = sh - 1 - (top + y);
        uint8_t* dst = screen.GetBits(row) + size_t(left) * 3;
        uint8_t* alpha = screen.AlphaRow(row) + left;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t index = PackedIndex(src, x, bpp);
            if (int32_t(index) == transIndex) continue;
            dst[3 * x] = colors[index].blue;
            dst[3 * x + 1] = colors[index].green;
            dst[3 * x + 2] = colors[index].red;
            alpha[x] = 255;
        }
    }
}

void GifClearOnScreen(LbImage& screen, const GifRect& r) {
    const uint32_t sh = screen.GetHeight();
    const uint32_t width = ClippedWidth(r.left, r.width, screen.GetWidth());
    if (width == 0 || r.top >= sh) return;
    const uint32_t height = std::min(r.height, sh - r.top);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t row = sh - 1 - (r.top + y);
        std::memset(screen.GetBits(row) + size_t(r.left) * 3, 0, size_t(width) * 3);
        std::memset(screen.AlphaRow(row) + r.left, 0, width);
    }
}

void GifDropOpaqueAlpha(LbImage& screen) {
    const uint32_t w = screen.GetWidth(), h = screen.GetHeight();
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* a = screen.AlphaRow(y);
        if (a == nullptr) return;
        for (uint32_t x = 0; x < w; ++x)
            if (a[x] != 255) return;
    }
    screen.AlphaDelete();
}
