#include "image/LbComposite.h"

#include <cstring>

namespace {

uint8_t Blend(uint8_t colour, uint8_t background, uint32_t alpha) {
    return uint8_t((colour * alpha + background * (255 - alpha) + 127) / 255);
}

}  // namespace

bool LbHasTransparency(const LbImage& image) {
    return image.AlphaIsValid() || (image.IsIndexed() && (image.IsTransparent() || image.AlphaPaletteIsEnabled()));
}

bool LbComposeOver(LbImage& image, LbRgbQuad bg) {
    if (!image.IsValid()) return true;
    const bool indexed = image.IsIndexed();
    if (!indexed && !image.AlphaIsValid()) return true;
    LbImage out(image.GetType());
    const uint32_t w = image.GetWidth(), h = image.GetHeight();
    if (out.Create(w, h, 24, image.GetType()) == nullptr) {
        image.KeepLastError(out);
        return false;
    }
    out.SetXDPI(image.GetXDPI());
    out.SetYDPI(image.GetYDPI());
    out.SetOrientation(image.GetOrientation());
    // Each palette entry's colour and alpha, looked up once.
    LbRgbQuad colours[256];
    uint8_t alphas[256];
    if (indexed) {
        for (uint32_t i = 0; i < 256; ++i) {
            colours[i] = image.GetPaletteColor(uint8_t(i));
            alphas[i] = image.AlphaPaletteIsEnabled() ? colours[i].reserved : 255;
            if (int32_t(i) == image.GetTransIndex()) alphas[i] = 0;
        }
    }
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* src = image.GetBits(y);
        const uint8_t* plane = image.AlphaRow(y);
        uint8_t* dst = out.GetBits(y);
        for (uint32_t x = 0; x < w; ++x, dst += 3) {
            uint32_t a = plane ? plane[x] : 255;
            LbRgbQuad c;
            if (indexed) {
                const uint8_t index = image.GetPixelIndex(int32_t(x), int32_t(y));
                c = colours[index];
                a = a * alphas[index] / 255;
            } else {
                c = LbRgbQuad{src[3 * x], src[3 * x + 1], src[3 * x + 2], 0};
            }
            if (a == 255) {
                dst[0] = c.blue;
                dst[1] = c.green;
                dst[2] = c.red;
            } else {
                dst[0] = Blend(c.blue, bg.blue, a);
                dst[1] = Blend(c.green, bg.green, a);
                dst[2] = Blend(c.red, bg.red, a);
            }
        }
    }
    return image.Transfer(out);
}
