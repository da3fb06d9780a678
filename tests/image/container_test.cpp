// The image container: layout of the pixel block, palettes, pixel accessors.
#include <gtest/gtest.h>

#include <string>

#include <cstring>

#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

TEST(LbImageCreate, RowStrideAndSizesFollowTheBitDepth) {
    struct Case {
        uint32_t width, height, bpp;
        uint32_t wantBpp, wantStride, wantColors;
    };
    const Case cases[] = {
        {10, 1, 24, 24, 32, 0}, {10, 1, 1, 1, 4, 2},  {10, 1, 4, 4, 8, 16},  {3, 2, 16, 24, 12, 0},
        {33, 1, 1, 1, 8, 2},    {5, 3, 8, 8, 8, 256}, {1, 1, 0, 1, 4, 2},    {2, 1, 2, 4, 4, 16},
        {7, 2, 32, 24, 24, 0},  {4, 1, 5, 8, 4, 256},
    };
    for (const Case& c : cases) {
        LbImage image;
        ASSERT_NE(image.Create(c.width, c.height, c.bpp, LB_FORMAT_BMP), nullptr);
        EXPECT_EQ(image.GetBpp(), c.wantBpp) << c.width << "x" << c.height << "@" << c.bpp;
        EXPECT_EQ(image.GetEffWidth(), c.wantStride) << c.width << "@" << c.bpp;
        EXPECT_EQ(image.GetNumColors(), c.wantColors);
        EXPECT_EQ(image.GetHeader().sizeImage, c.wantStride * c.height);
        EXPECT_EQ(image.GetSize(), 40 + 4 * c.wantColors + c.wantStride * c.height);
        // The block starts with a copy of the header.
        EXPECT_EQ(std::memcmp(image.GetDIB(), &image.GetHeader(), 40), 0);
        EXPECT_EQ(image.GetType(), uint32_t(LB_FORMAT_BMP));
    }
}

TEST(LbImageCreate, SizesThatCannotBeHeldFailWithAMessage) {
    struct Case {
        uint32_t width, height, bpp;
    };
    const Case cases[] = {{0xFFFFFFFF, 0xFFFFFFFF, 24}, {0x80000000u, 1, 1}, {100000, 100000, 24}, {65536, 65536, 8}};
    for (const Case& c : cases) {
        LbImage image(10, 10, 24);
        EXPECT_EQ(image.Create(c.width, c.height, c.bpp), nullptr);
        EXPECT_FALSE(image.IsValid());
        // The reason names the limit that was reached.
        EXPECT_EQ(std::string(image.GetLastError()).rfind("LbImage::Create can't allocate memory: ", 0), 0u) << image.GetLastError();
    }
    LbImage empty;
    EXPECT_EQ(empty.Create(0, 5, 24), nullptr);
    EXPECT_FALSE(empty.IsValid());
}

TEST(LbImageInfo, InitialValues) {
    LbImage image(LB_FORMAT_PNG);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetType(), uint32_t(LB_FORMAT_PNG));
    EXPECT_STREQ(image.GetLastError(), "");
    EXPECT_EQ(image.GetTransIndex(), -1);
    EXPECT_EQ(image.GetJpegQuality(), 75);
    EXPECT_EQ(image.GetXDPI(), 96);
    EXPECT_EQ(image.GetYDPI(), 96);
    EXPECT_TRUE(image.IsEnabled());
    EXPECT_EQ(image.GetNumFrames(), 0);
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetPalette(), nullptr);
    EXPECT_STREQ(LbImage::GetVersion(), "LbImage 1.0");
    image.Create(2, 2, 24);
    EXPECT_EQ(image.GetHeader().xPelsPerMeter, 3780);  // floor(96 * 39.37 + 0.5)
    image.SetXDPI(300);
    EXPECT_EQ(image.GetHeader().xPelsPerMeter, 11811);
    EXPECT_EQ(reinterpret_cast<const LbBitmapInfoHeader*>(image.GetDIB())->xPelsPerMeter, 11811);
}

TEST(LbImagePalette, GreyPalettesStepEvenly) {
    struct Case {
        uint32_t bpp;
        uint8_t index, value;
    };
    const Case cases[] = {{1, 0, 0}, {1, 1, 255}, {4, 1, 17}, {4, 15, 255}, {8, 128, 128}, {8, 255, 255}};
    for (const Case& c : cases) {
        LbImage image(4, 4, c.bpp);
        image.SetGrayPalette();
        const LbRgbQuad q = image.GetPaletteColor(c.index);
        EXPECT_EQ(q.red, c.value);
        EXPECT_EQ(q.green, c.value);
        EXPECT_EQ(q.blue, c.value);
    }
    LbImage eight(4, 4, 8);
    eight.SetGrayPalette();
    EXPECT_TRUE(eight.IsGrayScale());
    LbImage one(4, 4, 1);
    one.SetGrayPalette();
    EXPECT_FALSE(one.IsGrayScale());  // entry 1 is white, not (1, 1, 1)
}

TEST(LbImagePalette, OutOfRangeIndicesAreIgnored) {
    LbImage image(4, 4, 4);
    image.SetPaletteColor(20, 1, 2, 3);
    EXPECT_EQ(image.GetPaletteColor(20), LbRgbQuad{});
    image.SetPaletteColor(3, LbRGB(10, 20, 30));
    EXPECT_EQ(image.GetPaletteColor(3), (LbRgbQuad{30, 20, 10, 0}));
    LbImage rgb(4, 4, 24);
    rgb.SetPaletteColor(0, 1, 2, 3);
    EXPECT_EQ(rgb.GetPaletteColor(0), LbRgbQuad{});
}

TEST(LbImagePixels, PackedIndicesUseTheDocumentedBitOrder) {
    LbImage four(10, 2, 4);
    four.Clear(0);
    four.SetPixelIndex(3, 0, 0xA);
    four.SetPixelIndex(2, 0, 0x5);
    EXPECT_EQ(four.GetBits(0)[1], 0x5A);  // x = 2 high nibble, x = 3 low nibble
    EXPECT_EQ(four.GetPixelIndex(3, 0), 0xA);

    LbImage one(16, 2, 1);
    one.Clear(0);
    one.SetPixelIndex(9, 0, 1);
    EXPECT_EQ(one.GetBits(0)[1], 0x40);  // bit 6 of byte 1
    one.SetPixelIndex(0, 1, 1);
    EXPECT_EQ(one.GetBits(1)[0], 0x80);
    EXPECT_EQ(one.GetPixelIndex(0, 1), 1);
    EXPECT_EQ(one.GetPixelIndex(1, 1), 0);

    LbImage rgb(3, 2, 24);
    rgb.SetPixelColor(1, 1, LbRgbQuad{1, 2, 3, 9});
    const uint8_t* p = rgb.GetBits(1) + 3;
    EXPECT_EQ(p[0], 1);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 3);
    EXPECT_EQ(rgb.GetBits(2), nullptr);
}

TEST(LbImagePixels, OutsideTheImage) {
    LbImage rgb(4, 4, 24);
    rgb.Clear(0);
    rgb.SetPixelColor(0, 0, LbRgbQuad{5, 6, 7, 0});
    EXPECT_EQ(rgb.GetPixelColor(-1, 2), (LbRgbQuad{5, 6, 7, 0}));  // pixel (0, 0)
    rgb.SetTransIndex(0);
    rgb.SetTransColor(LbRgbQuad{9, 9, 9, 77});
    EXPECT_EQ(rgb.GetPixelColor(4, 0), (LbRgbQuad{9, 9, 9, 0}));

    LbImage indexed(4, 4, 8);
    indexed.Clear(3);
    indexed.SetPaletteColor(7, 70, 71, 72, 200);
    indexed.SetPaletteColor(3, 30, 31, 32);
    EXPECT_EQ(indexed.GetPixelIndex(9, 9), 3);  // first pixel byte
    indexed.SetTransIndex(7);
    EXPECT_EQ(indexed.GetPixelIndex(9, 9), 7);
    EXPECT_EQ(indexed.GetPixelColor(-1, -1), (LbRgbQuad{72, 71, 70, 0}));
    indexed.SetPixelIndex(4, 0, 1);  // ignored
    indexed.SetPixelColor(-1, 0, LbRgbQuad{});
    EXPECT_EQ(indexed.GetPixelIndex(3, 0), 3);
    EXPECT_EQ(indexed.GetTransColor(), (LbRgbQuad{72, 71, 70, 200}));
}

TEST(LbImagePixels, GreyWeights) {
    LbImage rgb(1, 1, 24);
    const struct {
        LbRgbQuad c;
        uint8_t grey;
    } cases[] = {{{0, 0, 255, 0}, 76}, {{0, 255, 0, 0}, 149}, {{255, 0, 0, 0}, 29}, {{255, 255, 255, 0}, 255}};
    for (const auto& c : cases) {
        rgb.SetPixelColor(0, 0, c.c);
        EXPECT_EQ(rgb.GetPixelGray(0, 0), c.grey);
    }
}

TEST(LbImageNearest, TiesGoToTheLowerIndexAndTheCacheFollowsPaletteChanges) {
    LbImage image(2, 2, 8);
    for (int i = 0; i < 256; ++i) image.SetPaletteColor(uint8_t(i), 255, 255, 255);
    image.SetPaletteColor(4, 10, 0, 0);
    image.SetPaletteColor(9, 20, 0, 0);
    EXPECT_EQ(image.GetNearestIndex(LbRgbQuad{0, 0, 15, 0}), 4);
    EXPECT_EQ(image.GetNearestIndex(LbRgbQuad{0, 0, 19, 0}), 9);
    image.SetPaletteColor(2, 19, 0, 0);
    EXPECT_EQ(image.GetNearestIndex(LbRgbQuad{0, 0, 19, 0}), 2);  // not the cached 9
    // White is in every other entry: the first exact match wins.
    EXPECT_EQ(image.GetNearestIndex(LbRgbQuad{255, 255, 255, 0}), 0);
    LbImage rgb(1, 1, 24);
    EXPECT_EQ(rgb.GetNearestIndex(LbRgbQuad{1, 1, 1, 0}), 0);
}

TEST(LbImageCopy, DeepCopyKeepsPixelsPaletteAndTransparency) {
    LbImage src(5, 3, 4, LB_FORMAT_GIF);
    src.SetGrayPalette();
    src.Clear(0x12);
    src.SetTransIndex(2);
    src.SetXDPI(150);
    src.AlphaCreate();
    src.AlphaSet(1, 1, 7);
    LbImage copy(src);
    EXPECT_EQ(copy.GetTransIndex(), 2);
    EXPECT_EQ(copy.GetXDPI(), 150);
    EXPECT_EQ(copy.GetType(), uint32_t(LB_FORMAT_GIF));
    EXPECT_EQ(copy.GetPixelIndex(3, 2), 2);
    EXPECT_EQ(copy.AlphaGet(1, 1), 7);
    copy.SetPixelIndex(0, 0, 9);
    EXPECT_EQ(src.GetPixelIndex(0, 0), 1);  // deep: the source is untouched

    LbImage paletteOnly;
    paletteOnly.Copy(src, false, false, false);
    EXPECT_EQ(paletteOnly.GetPaletteColor(15).red, 255);
    EXPECT_FALSE(paletteOnly.AlphaIsValid());
}

TEST(LbImageCopy, TransferMovesAndGhostShares) {
    LbImage a = imgtest::Pattern24(6, 4);
    LbImage b;
    ASSERT_TRUE(b.Transfer(a));
    EXPECT_FALSE(a.IsValid());
    EXPECT_EQ(b.GetWidth(), 6u);
    {
        LbImage ghost;
        ghost.Ghost(&b);
        EXPECT_EQ(ghost.GetBits(), b.GetBits());
        ghost.SetPixelColor(0, 0, LbRgbQuad{1, 1, 1, 0});
    }  // a ghost frees nothing
    EXPECT_EQ(b.GetPixelColor(0, 0), (LbRgbQuad{1, 1, 1, 0}));
    LbImage ghost;
    ghost.Ghost(&b);
    LbImage c;
    c.Transfer(ghost);  // a ghost hands over a copy, not the shared block
    EXPECT_NE(c.GetBits(), b.GetBits());
    EXPECT_EQ(c.GetPixelColor(5, 3), b.GetPixelColor(5, 3));
}

}  // namespace
