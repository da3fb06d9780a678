// The image container: layout of the pixel block, palettes, pixel accessors.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "image/LbBudget.h"
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
    // Every way of handing an image on, inside a job: a move takes the blocks and
    // their charge, a copy makes and charges its own, and when the images are gone
    // the job holds nothing (no block leaked, none freed or given back twice).
    const struct Case {
        const char* name;
        LbImage (*handOn)(LbImage& from);
        bool moves;
    } cases[] = {
        {"Transfer", [](LbImage& from) { LbImage to; to.Transfer(from); return to; }, true},
        {"move construction", [](LbImage& from) { return LbImage(std::move(from)); }, true},
        {"move assignment", [](LbImage& from) { LbImage to(4, 4, 8); to = std::move(from); return to; }, true},
        {"copy assignment", [](LbImage& from) { LbImage to; to = from; return to; }, false},
        {"copy through a view", [](LbImage& from) { return LbImage(*from.Ghost()); }, false},
        {"Copy", [](LbImage& from) { LbImage to; to.Copy(from); return to; }, false},
    };
    LbLimits limits;
    limits.memory = 1 << 20;
    LbJob job(limits);
    for (const Case& c : cases) {
        {
            LbImage a = imgtest::Pattern24(6, 4);
            ASSERT_TRUE(a.AlphaCreate());
            a.AlphaSet(5, 3, 9);
            const uint64_t held = limits.memory - LbBudgetLeft();
            const uint8_t* bits = a.GetBits();
            const LbImage b = c.handOn(a);
            EXPECT_EQ(b.GetPixelColor(5, 3), imgtest::PatternColor(5, 3)) << c.name;
            EXPECT_EQ(b.AlphaGet(5, 3), 9) << c.name;
            EXPECT_EQ(b.GetBits() == bits, c.moves) << c.name;
            EXPECT_EQ(a.IsValid(), !c.moves) << c.name;
            EXPECT_EQ(a.AlphaIsValid(), !c.moves) << c.name;
            EXPECT_EQ(limits.memory - LbBudgetLeft(), c.moves ? held : 2 * held) << c.name;
            {
                const LbImageView view = b.Ghost();
                EXPECT_EQ(view->GetBits(), b.GetBits()) << c.name;  // a view shares, owns nothing
            }
            // The source stays usable.
            EXPECT_NE(a.Create(3, 3, 8), nullptr) << c.name;
        }
        EXPECT_EQ(LbBudgetLeft(), limits.memory) << c.name;
    }
}

TEST(LbBudget, BlocksGiveTheirBytesBackToTheJobThatCountedThem) {
    LbLimits limits;
    limits.memory = 1 << 20;
    const uint64_t bytes = LbImage::CreateBytes(10, 10, 24);
    LbImage madeOutside(10, 10, 24);
    LbJob outer(limits);
    LbImage early(10, 10, 24);
    {
        LbJob inner(limits);
        LbImage late(10, 10, 24);
        madeOutside.Destroy();  // counted by no job: credits none
        early.Destroy();        // the outer job's bytes, not the inner's
        EXPECT_EQ(LbBudgetLeft(), limits.memory - bytes);
        early.Create(10, 10, 24);  // now the inner job's, and outlives it
    }
    EXPECT_EQ(LbBudgetLeft(), limits.memory);
    early.Destroy();  // its job is closed: nothing to give back
    EXPECT_EQ(LbBudgetLeft(), limits.memory);
}

TEST(LbBudget, GivingBackMoreThanWasTakenIsCaught) {
    LbLimits limits;
    limits.memory = 1000;
    LbJob job(limits);
    ASSERT_TRUE(LbBudgetTake(10));
    EXPECT_DEBUG_DEATH(LbBudgetGive(11), "more bytes given back");
#ifdef NDEBUG
    EXPECT_EQ(LbBudgetLeft(), 1000u);  // counted down to zero, not round
#else
    // An image going while a view of it is alive stops a debug build there, before
    // the view can read freed memory.
    EXPECT_DEATH(
        {
            auto owner = std::make_unique<LbImage>(2, 2, 8);
            const LbImageView view = owner->Ghost();
            owner.reset();
        },
        "view of it was alive");
#endif
}

}  // namespace
