// Crop, resample, grey scale, dither, rotations, flip and mirror.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

using imgtest::Pattern24;
using imgtest::PatternColor;

bool SamePixels(const LbImage& a, const LbImage& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp()) return false;
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        for (uint32_t x = 0; x < a.GetWidth(); ++x)
            if (!(a.GetPixelColor(int32_t(x), int32_t(y)) == b.GetPixelColor(int32_t(x), int32_t(y)))) return false;
    return true;
}

// An image whose pixel at column x carries x in its red channel and row y in green.
LbImage Coordinates(uint32_t width, uint32_t height) {
    LbImage image(width, height, 24);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) image.SetPixelColor(int32_t(x), int32_t(y), LbRgbQuad{0, uint8_t(y), uint8_t(x), 0});
    return image;
}

TEST(LbImageResample, NearestPixelColumnsFollowTheSinglePrecisionScale) {
    struct Case {
        uint32_t width;
        std::vector<std::pair<int, int>> columns;  // output column -> source column
    };
    const Case cases[] = {
        {200, {{0, 0}, {1, 2}, {47, 97}, {48, 99}, {95, 197}}},
        {50, {{0, 0}, {1, 0}, {47, 24}, {48, 24}, {95, 49}}},
    };
    for (const Case& c : cases) {
        LbImage image = Coordinates(c.width, 4);
        ASSERT_TRUE(image.Resample(96, 4, 1));
        for (auto [out, in] : c.columns) EXPECT_EQ(image.GetPixelColor(out, 0).red, in) << c.width << " col " << out;
    }
}

TEST(LbImageResample, NearestPixelRowsCountFromTheBottom) {
    LbImage image = Coordinates(1, 200);
    ASSERT_TRUE(image.Resample(1, 96, 1));
    std::vector<bool> used(200, false);
    for (int y = 0; y < 96; ++y) used[image.GetPixelColor(0, y).green] = true;
    EXPECT_TRUE(used[0]);               // the bottom row
    EXPECT_FALSE(used[198] || used[199]);  // the top two display rows
}

TEST(LbImageResample, ArgumentsAndSameSize) {
    LbImage image = Pattern24(96, 96);
    const LbImage before(image);
    EXPECT_TRUE(image.Resample(96, 96, 1));
    EXPECT_TRUE(SamePixels(image, before));
    EXPECT_FALSE(image.Resample(0, 96, 1));
    EXPECT_FALSE(image.Resample(96, -1, 1));
    LbImage copy;
    EXPECT_TRUE(image.Resample(96, 96, 1, &copy));
    EXPECT_TRUE(SamePixels(copy, before));
    LbImage small;
    EXPECT_TRUE(image.Resample(10, 20, 1, &small));
    EXPECT_EQ(small.GetWidth(), 10u);
    EXPECT_EQ(image.GetWidth(), 96u);  // with a destination the image stays

    // An empty image is not an argument error: both modes make a black picture.
    for (int mode : {1, 2}) {
        LbImage empty, out;
        ASSERT_TRUE(empty.Resample(5, 3, mode, &out)) << mode;
        ASSERT_TRUE(out.IsValid());
        EXPECT_EQ(out.GetWidth(), 5u);
        EXPECT_EQ(out.GetHeight(), 3u);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(out.GetPixelColor(x, y), (LbRgbQuad{0, 0, 0, 0})) << mode;
        EXPECT_FALSE(empty.IsValid());
    }
}

TEST(LbImageResample, BicubicKeepsAUniformColour) {
    for (auto [w, h] : {std::pair{37, 23}, std::pair{200, 150}, std::pair{5, 300}}) {
        LbImage image(uint32_t(w), uint32_t(h), 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.SetPixelColor(x, y, LbRgbQuad{200, 100, 30, 0});
        ASSERT_TRUE(image.Resample(96, 96, 2));
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x) {
                const LbRgbQuad c = image.GetPixelColor(x, y);
                EXPECT_NEAR(c.blue, 200, 1);
                EXPECT_NEAR(c.green, 100, 1);
                EXPECT_NEAR(c.red, 30, 1);
            }
    }
}

TEST(LbImageResample, PaletteImagesPickTheNearestEntry) {
    LbImage image(20, 20, 8);
    image.SetGrayPalette();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) image.SetPixelIndex(x, y, uint8_t(x * 10));
    ASSERT_TRUE(image.Resample(10, 10, 1));
    EXPECT_EQ(image.GetBpp(), 8u);
    EXPECT_EQ(image.GetPixelIndex(3, 3), 60);
}

TEST(LbImageResample, EscapeStopsProducingRows) {
    LbImage image = Pattern24(50, 50);
    image.SetEscape(1);
    EXPECT_TRUE(image.Resample(20, 20, 1));
    EXPECT_EQ(image.GetWidth(), 20u);
    EXPECT_EQ(image.GetProgress(), 0);
}

TEST(LbImageCrop, ClampsOrdersAndRejectsEmptyRectangles) {
    struct Case {
        int32_t l, t, r, b;
        bool ok;
        uint32_t w, h;
        int32_t firstX, firstTopRow;  // source coordinates of the result's top-left pixel
    };
    const Case cases[] = {
        {10, 10, 10, 50, false, 0, 0, 0, 0}, {10, 20, 50, 60, true, 40, 40, 10, 20},
        {50, 60, 10, 20, true, 40, 40, 10, 20}, {-5, -5, 20, 20, true, 20, 20, 0, 0},
        {90, 95, 200, 300, true, 10, 5, 90, 95},   {0, 0, 100, 100, true, 100, 100, 0, 0},
        {120, 0, 150, 10, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LbImage image = Pattern24(100, 100);
        const bool ok = image.Crop(c.l, c.t, c.r, c.b);
        EXPECT_EQ(ok, c.ok) << c.l << "," << c.t << "," << c.r << "," << c.b;
        if (!ok) {
            EXPECT_EQ(image.GetWidth(), 100u);
            continue;
        }
        EXPECT_EQ(image.GetWidth(), c.w);
        EXPECT_EQ(image.GetHeight(), c.h);
        EXPECT_EQ(image.GetPixelColor(0, int32_t(c.h) - 1), PatternColor(c.firstX, 99 - c.firstTopRow));
        EXPECT_EQ(image.GetPixelColor(int32_t(c.w) - 1, 0),
                  PatternColor(c.firstX + int32_t(c.w) - 1, 99 - (c.firstTopRow + int32_t(c.h) - 1)));
    }
}

TEST(LbImageCrop, PackedFormatsAndDestination) {
    for (uint32_t bpp : {1u, 4u, 8u}) {
        LbImage image(30, 10, bpp);
        image.SetGrayPalette();
        image.SetTransIndex(1);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 30; ++x) image.SetPixelIndex(x, y, uint8_t((x + y) % (1 << bpp)));
        LbImage cut;
        ASSERT_TRUE(image.Crop(3, 2, 20, 7, &cut));
        EXPECT_EQ(image.GetWidth(), 30u);
        EXPECT_EQ(cut.GetBpp(), bpp);
        EXPECT_EQ(cut.GetTransIndex(), 1);
        EXPECT_EQ(cut.GetPaletteColor(1), image.GetPaletteColor(1));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 17; ++x)
                ASSERT_EQ(cut.GetPixelIndex(x, y), image.GetPixelIndex(x + 3, y + 3)) << bpp << " " << x << "," << y;
    }
}

TEST(LbImageGrayScale, ColourAndPaletteImages) {
    LbImage rgb(4, 1, 24);
    rgb.SetPixelColor(0, 0, LbRgbQuad{0, 0, 255, 0});
    rgb.SetPixelColor(1, 0, LbRgbQuad{0, 255, 0, 0});
    rgb.SetPixelColor(2, 0, LbRgbQuad{255, 0, 0, 0});
    rgb.SetPixelColor(3, 0, LbRgbQuad{255, 255, 255, 0});
    ASSERT_TRUE(rgb.GrayScale());
    EXPECT_EQ(rgb.GetBpp(), 8u);
    EXPECT_TRUE(rgb.IsGrayScale());
    const uint8_t want[] = {76, 149, 29, 255};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(rgb.GetPixelIndex(x, 0), want[x]);

    LbImage four(3, 1, 4);
    four.SetPaletteColor(5, 255, 0, 0);
    four.SetPixelIndex(1, 0, 5);
    four.SetTransIndex(5);
    ASSERT_TRUE(four.GrayScale());
    EXPECT_EQ(four.GetBpp(), 8u);
    EXPECT_EQ(four.GetPixelIndex(1, 0), 76);
    EXPECT_EQ(four.GetTransIndex(), 76);
}

TEST(LbImageDither, FloydSteinbergThresholdAndErrorSpread) {
    LbImage grey(6, 1, 24);
    for (int x = 0; x < 6; ++x) grey.SetPixelColor(x, 0, LbRgbQuad{128, 128, 128, 0});
    ASSERT_TRUE(grey.Dither(0));
    EXPECT_EQ(grey.GetBpp(), 1u);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(grey.GetPixelIndex(x, 0), x % 2) << x;
    EXPECT_EQ(grey.GetPaletteColor(0), (LbRgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(grey.GetPaletteColor(1), (LbRgbQuad{255, 255, 255, 0}));

    for (uint8_t level : {uint8_t(0), uint8_t(255)}) {
        LbImage flat(9, 7, 24);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) flat.SetPixelColor(x, y, LbRgbQuad{level, level, level, 0});
        ASSERT_TRUE(flat.Dither(0));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) EXPECT_EQ(flat.GetPixelIndex(x, y), level ? 1 : 0);
    }
    // 129 is white, 128 black.
    LbImage two(2, 1, 8);
    two.SetGrayPalette();
    two.SetPixelIndex(0, 0, 129);
    two.SetPixelIndex(1, 0, 0);
    ASSERT_TRUE(two.Dither(0));
    EXPECT_EQ(two.GetPixelIndex(0, 0), 1);

    // Error goes to the row above in display terms (y + 1): a single grey pixel
    // under a black row pushes its error up.
    LbImage column(1, 2, 24);
    column.SetPixelColor(0, 0, LbRgbQuad{100, 100, 100, 0});
    column.SetPixelColor(0, 1, LbRgbQuad{100, 100, 100, 0});
    ASSERT_TRUE(column.Dither(0));
    EXPECT_EQ(column.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(column.GetPixelIndex(0, 1), 1);  // 100 + 100 * 5 / 16 = 131

    LbImage mono(3, 3, 1);
    mono.Clear(0xA0);
    const LbImage before(mono);
    EXPECT_TRUE(mono.Dither(0));
    EXPECT_TRUE(SamePixels(mono, before));
}

TEST(LbImageRotate, QuarterTurnsMapCornersAndRoundTrip) {
    LbImage image = Pattern24(7, 4);
    const LbImage original(image);
    ASSERT_TRUE(image.RotateLeft());
    EXPECT_EQ(image.GetWidth(), 4u);
    EXPECT_EQ(image.GetHeight(), 7u);
    // Top-left of the source (0, 3) ends up bottom-left (0, 0).
    EXPECT_EQ(image.GetPixelColor(0, 0), PatternColor(0, 3));
    ASSERT_TRUE(image.RotateRight());
    EXPECT_TRUE(SamePixels(image, original));

    LbImage right(original);
    ASSERT_TRUE(right.RotateRight());
    // Top-left of the source ends up top-right: (3, 6) in accessor terms.
    EXPECT_EQ(right.GetPixelColor(3, 6), PatternColor(0, 3));

    LbImage four(original);
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(four.RotateLeft());
    EXPECT_TRUE(SamePixels(four, original));
}

TEST(LbImageRotate, PaletteImagesKeepIndicesAndFlipMirrorRoundTrip) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        LbImage image(11, 5, bpp);
        if (bpp < 24) {
            image.SetGrayPalette();
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 11; ++x) image.SetPixelIndex(x, y, uint8_t((x * 3 + y) % (1 << bpp)));
        } else {
            image = Pattern24(11, 5);
        }
        const LbImage original(image);
        LbImage turned;
        ASSERT_TRUE(image.RotateLeft(&turned));
        EXPECT_TRUE(SamePixels(image, original));
        ASSERT_TRUE(turned.RotateRight());
        EXPECT_TRUE(SamePixels(turned, original)) << bpp;

        ASSERT_TRUE(image.Flip());
        EXPECT_EQ(image.GetPixelColor(2, 0), original.GetPixelColor(2, 4));
        ASSERT_TRUE(image.Flip());
        EXPECT_TRUE(SamePixels(image, original));
        ASSERT_TRUE(image.Mirror());
        EXPECT_EQ(image.GetPixelColor(0, 1), original.GetPixelColor(10, 1)) << bpp;
        ASSERT_TRUE(image.Mirror());
        EXPECT_TRUE(SamePixels(image, original)) << bpp;
    }
}

TEST(LbImageTransforms, FailuresLeaveTheImageUnchanged) {
    LbImage empty;
    EXPECT_FALSE(empty.Crop(0, 0, 5, 5));
    EXPECT_FALSE(empty.RotateLeft());
    EXPECT_FALSE(empty.Flip());
    EXPECT_FALSE(empty.Mirror());
    EXPECT_FALSE(empty.GrayScale());
    EXPECT_FALSE(empty.Dither(0));
    EXPECT_FALSE(empty.Resample(0, 10, 1));  // an empty image fails Resample only by its arguments
    EXPECT_FALSE(empty.IsValid());

    LbImage image = Pattern24(64, 64);
    const LbImage original(image);
    const uint64_t limit = LbImage::GetMaxImageSize();
    LbImage::SetMaxImageSize(256);  // nothing bigger than 256 bytes can be made now
    EXPECT_FALSE(image.Resample(200, 200, 2));
    EXPECT_FALSE(image.RotateLeft());
    EXPECT_FALSE(image.Flip());
    EXPECT_FALSE(image.Dither(0));
    EXPECT_STREQ(image.GetLastError(), "LbImage::Create can't allocate memory");
    LbImage::SetMaxImageSize(limit);
    EXPECT_TRUE(SamePixels(image, original));
}

}  // namespace

namespace {

// The one-pass drag step gives exactly what crop followed by resample gives.
TEST(LbImageCropResample, MatchesCropThenResampleByteForByte) {
    struct Case {
        int32_t l, t, r, b, w, h;
    };
    const Case cases[] = {
        {0, 0, 96, 96, 96, 96},     {10, 20, 210, 170, 96, 96}, {250, 190, 3, 7, 96, 96},
        {-9, -9, 400, 400, 96, 96}, {5, 5, 55, 25, 96, 96},     {1, 2, 2, 3, 96, 96},
        {0, 0, 299, 199, 17, 5},    {7, 7, 8, 9, 0, 96},        {30, 30, 30, 90, 96, 96},
    };
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        LbImage source = imgtest::Pattern24(300, 200);
        if (bpp < 24) {
            LbImage indexed(300, 200, bpp);
            for (uint32_t i = 0; i < indexed.GetNumColors(); ++i)
                indexed.SetPaletteColor(uint8_t(i), uint8_t(i * 5), uint8_t(i * 3), uint8_t(255 - i));
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 300; ++x) indexed.SetPixelIndex(x, y, uint8_t((x * 13 + y * 7) % (1 << bpp)));
            indexed.SetTransIndex(1);
            source = indexed;
        }
        for (const Case& c : cases) {
            LbImage twoStep, onePass;
            const bool cropped = source.Crop(c.l, c.t, c.r, c.b, &twoStep);
            const bool expected = cropped && twoStep.Resample(c.w, c.h, 1);
            EXPECT_EQ(source.CropResample(c.l, c.t, c.r, c.b, c.w, c.h, &onePass), expected) << bpp << " " << c.l;
            if (!cropped) continue;
            ASSERT_EQ(onePass.GetSize(), twoStep.GetSize()) << bpp << " " << c.l;
            EXPECT_EQ(std::memcmp(onePass.GetDIB(), twoStep.GetDIB(), onePass.GetSize()), 0) << bpp << " " << c.l;
            EXPECT_EQ(onePass.GetTransIndex(), twoStep.GetTransIndex());
            EXPECT_EQ(onePass.GetType(), twoStep.GetType());
        }
    }
}

}  // namespace
