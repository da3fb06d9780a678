#include "image/PngWritePlan.h"

#include <cstring>

#include "image/LbImage.h"
#include "image/LbPackedRow.h"

namespace {

// The palette SetGrayPalette gives a picture of this many colours: what a grey
// file of the same depth decodes to, so writing it as grey keeps every pixel.
bool IsGreyRamp(const LbImage& image) {
    const uint32_t count = image.GetNumColors();
    if (count < 2) return false;
    const uint32_t step = 255 / (count - 1);
    for (uint32_t i = 0; i < count; ++i) {
        const LbRgbQuad c = image.GetPaletteColor(uint8_t(i));
        if (c.red != i * step || c.green != i * step || c.blue != i * step) return false;
    }
    return true;
}

}  // namespace

PngWritePlan PlanPngWrite(const LbImage& image) {
    PngWritePlan plan;
    plan.width = image.GetWidth();
    plan.height = image.GetHeight();
    plan.xPelsPerMeter = image.GetHeader().xPelsPerMeter;
    plan.yPelsPerMeter = image.GetHeader().yPelsPerMeter;
    const uint32_t bpp = image.GetBpp();

    if (image.IsIndexed() && image.AlphaIsValid()) {
        // Palette files hold no alpha per pixel: the colours are written out.
        plan.fromPalette = true;
        plan.colourType = IsGreyRamp(image) ? kPngGreyAlpha : kPngRgba;
        plan.pixelBytes = plan.colourType == kPngRgba ? 4 : 2;
        plan.rowBytes = size_t(plan.width) * plan.pixelBytes;
        plan.backgroundGrey = 255;
        plan.backgroundRgb[0] = plan.backgroundRgb[1] = plan.backgroundRgb[2] = 255;
        return plan;
    }
    if (!image.IsIndexed()) {
        plan.colourType = image.AlphaIsValid() ? kPngRgba : kPngRgb;
        plan.pixelBytes = plan.colourType == kPngRgba ? 4 : 3;
        plan.rowBytes = size_t(plan.width) * plan.pixelBytes;
        const LbRgbQuad c = image.GetTransIndex() >= 0 ? image.GetTransColor() : LbRgbQuad{255, 255, 255, 0};
        plan.backgroundRgb[0] = c.red;
        plan.backgroundRgb[1] = c.green;
        plan.backgroundRgb[2] = c.blue;
        return plan;
    }

    plan.bitDepth = uint8_t(bpp);
    plan.pixelBytes = 1;
    plan.rowBytes = (size_t(plan.width) * bpp + 7) / 8;
    const int32_t trans = image.GetTransIndex() >= 0 && uint32_t(image.GetTransIndex()) < image.GetNumColors()
                              ? image.GetTransIndex()
                              : -1;
    if (trans < 0 && !image.AlphaPaletteIsEnabled() && IsGreyRamp(image)) {
        plan.colourType = kPngGrey;
        plan.backgroundGrey = uint16_t((1u << bpp) - 1);  // white
        return plan;
    }

    plan.colourType = kPngPalette;
    plan.swappedIndex = trans;
    auto mapIndex = [trans](uint32_t i) -> uint32_t {
        if (trans <= 0) return i;
        return i == 0 ? uint32_t(trans) : i == uint32_t(trans) ? 0 : i;
    };
    uint32_t count = image.GetNumColors();
    // A small picture's palette ends after the highest index it uses.
    if (count > 2 && uint64_t(plan.width) * plan.height < 65536) {
        uint32_t highest = 0;
        for (uint32_t y = 0; y < plan.height; ++y)
            for (uint32_t x = 0; x < plan.width; ++x) {
                const uint32_t i = mapIndex(PackedIndex(image.GetBits(y), x, bpp));
                if (i > highest) highest = i;
            }
        count = highest + 1;
    }
    plan.paletteCount = count;
    for (uint32_t i = 0; i < image.GetNumColors(); ++i) {
        const uint32_t at = mapIndex(i);
        if (at >= count) continue;
        const LbRgbQuad c = image.GetPaletteColor(uint8_t(i));
        plan.palette[3 * at] = c.red;
        plan.palette[3 * at + 1] = c.green;
        plan.palette[3 * at + 2] = c.blue;
        plan.alpha[at] = c.reserved;
    }
    if (trans >= 0) {
        // One transparency entry: entry 0, fully transparent.
        plan.alphaCount = 1;
        plan.alpha[0] = 0;
        plan.backgroundIndex = 0;
    } else {
        if (image.AlphaPaletteIsEnabled()) plan.alphaCount = count;
        const uint32_t white = mapIndex(image.FindNearestIndex(LbRgbQuad{255, 255, 255, 0}));
        plan.backgroundIndex = uint8_t(white < count ? white : 0);
    }
    return plan;
}

void PngFileRow(const LbImage& image, const PngWritePlan& plan, uint32_t fromTop, uint8_t* dst) {
    const uint32_t y = plan.height - 1 - fromTop;
    const uint8_t* row = image.GetBits(y);
    const uint32_t width = plan.width;
    if (plan.fromPalette) {
        // An indexed picture with an alpha plane: colour (or grey) and alpha per pixel.
        const int32_t trans = image.GetTransIndex();
        const uint32_t bpp = image.GetBpp();
        const bool grey = plan.colourType == kPngGreyAlpha;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t i = PackedIndex(row, x, bpp);
            const LbRgbQuad c = image.GetPaletteColor(i);
            *dst++ = c.red;
            if (!grey) {
                *dst++ = c.green;
                *dst++ = c.blue;
            }
            *dst++ = i == trans ? 0 : image.AlphaGet(int32_t(x), int32_t(y));
        }
        return;
    }
    switch (plan.colourType) {
        case kPngRgb:
            for (uint32_t x = 0; x < width; ++x, row += 3, dst += 3) {
                dst[0] = row[2];
                dst[1] = row[1];
                dst[2] = row[0];
            }
            break;
        case kPngRgba:
            for (uint32_t x = 0; x < width; ++x, row += 3, dst += 4) {
                dst[0] = row[2];
                dst[1] = row[1];
                dst[2] = row[0];
                dst[3] = image.AlphaGet(int32_t(x), int32_t(y));
            }
            break;
        default: {
            std::memcpy(dst, row, plan.rowBytes);
            const int32_t trans = plan.swappedIndex;
            if (trans > 0) {
                const uint32_t bpp = plan.bitDepth;
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t i = PackedIndex(row, x, bpp);
                    if (i == 0) SetPackedIndex(dst, x, bpp, uint8_t(trans));
                    else if (i == uint32_t(trans)) SetPackedIndex(dst, x, bpp, 0);
                }
            }
            break;
        }
    }
}
