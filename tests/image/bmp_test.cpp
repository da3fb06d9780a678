// BMP decoding and encoding.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "image/BmpHeader.h"
#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

Bytes Words16(std::initializer_list<uint16_t> words, size_t padTo) {
    Bytes b;
    for (uint16_t w : words) {
        b.push_back(uint8_t(w));
        b.push_back(uint8_t(w >> 8));
    }
    b.resize(padTo, 0);
    return b;
}

Bytes Masks(uint32_t r, uint32_t g, uint32_t b) {
    Bytes m(12);
    Put32(m, 0, r);
    Put32(m, 4, g);
    Put32(m, 8, b);
    return m;
}

TEST(BmpDecode, SixteenBitMasks) {
    struct Case {
        const char* name;
        uint32_t headerSize, compression;
        Bytes extra;
        uint32_t masks[3];
        uint16_t word;
        LbRgbQuad want;
    };
    const Case cases[] = {
        {"555 default", 40, 0, {}, {}, 0x7FFF, {255, 255, 255, 0}},
        {"555 red", 40, 0, {}, {}, 0x7C00, {0, 0, 255, 0}},
        {"565 green", 40, 3, Masks(0xF800, 0x07E0, 0x001F), {}, 0x07E0, {0, 255, 0, 0}},
        {"565 green step", 40, 3, Masks(0xF800, 0x07E0, 0x001F), {}, 0x0020, {0, 4, 0, 0}},
        {"565 white", 40, 3, Masks(0xF800, 0x07E0, 0x001F), {}, 0xFFFF, {255, 255, 255, 0}},
        {"565 in a 124-byte header", 124, 3, {}, {0xF800, 0x07E0, 0x001F}, 0xF81F, {255, 0, 255, 0}},
        {"555 in a 108-byte header", 108, 3, {}, {0x7C00, 0x03E0, 0x001F}, 0x03E0, {0, 255, 0, 0}},
        {"555 108 without bit fields", 108, 0, {}, {}, 0x001F, {255, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.headerSize = c.headerSize;
        layout.width = 1;
        layout.height = 1;
        layout.bpp = 16;
        layout.compression = c.compression;
        layout.extra = c.extra;
        for (int i = 0; i < 3; ++i) layout.masks[i] = c.masks[i];
        layout.data = Words16({c.word}, 4);
        LbImage image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(layout), LB_FORMAT_BMP)) << c.name << ": " << image.GetLastError();
        EXPECT_EQ(image.GetBpp(), 24u);
        EXPECT_EQ(image.GetPixelColor(0, 0), c.want) << c.name;
    }
}

TEST(BmpDecode, ThirtyTwoBitPixels) {
    struct Case {
        const char* name;
        uint32_t headerSize, compression;
        uint32_t masks[3];
        uint32_t pixel;
        LbRgbQuad want;
    };
    const Case cases[] = {
        {"plain", 40, 0, {}, 0xAA112233, {0x33, 0x22, 0x11, 0}},
        {"v5 standard masks", 124, 3, {0x00FF0000, 0x0000FF00, 0x000000FF}, 0xAA112233, {0x33, 0x22, 0x11, 0}},
        {"v4 masks with alpha low", 108, 3, {0xFF000000, 0x00FF0000, 0x0000FF00}, 0x112233AA, {0x33, 0x22, 0x11, 0}},
        {"v4 10-bit channels", 108, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FF00000, {0, 0, 255, 0}},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.headerSize = c.headerSize;
        layout.bpp = 32;
        layout.compression = c.compression;
        for (int i = 0; i < 3; ++i) layout.masks[i] = c.masks[i];
        layout.data.resize(4);
        Put32(layout.data, 0, c.pixel);
        LbImage image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(layout), LB_FORMAT_BMP)) << c.name << ": " << image.GetLastError();
        EXPECT_EQ(image.GetPixelColor(0, 0), c.want) << c.name;
    }
}

TEST(BmpDecode, LongerInfoHeadersNeedPlainRowsUnlessTheyCarryMasks) {
    // A 1 x 1 picture at 24 bits: one row of 4 bytes.
    struct Case {
        uint32_t headerSize, compression, sizeImage, clrUsed;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {77, 0, 4, 0, nullptr}, {77, 0, 8, 0, "Error reading BMP info"}, {77, 0, 4, 2, "Error reading BMP info"},
        {77, 1, 4, 0, "Error reading BMP info"},
        // these carry masks, as the 108- and 124-byte ones, and take any image size
        {52, 0, 4, 0, nullptr}, {52, 0, 0, 0, nullptr}, {56, 0, 4, 2, nullptr}, {108, 0, 0, 0, nullptr},
        {124, 0, 0, 0, nullptr}, {52, 3, 4, 0, "unknown compression"}, {56, 1, 4, 0, "unknown compression"},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.headerSize = c.headerSize;
        layout.compression = c.compression;
        layout.sizeImage = c.sizeImage;
        layout.clrUsed = c.clrUsed;
        layout.data = {10, 20, 30, 0};
        LbImage image;
        const bool ok = DecodeBytes(image, MakeBmp(layout), LB_FORMAT_BMP);
        EXPECT_EQ(ok, c.refusal == nullptr) << c.headerSize << " " << c.compression << " " << c.sizeImage << " " << c.clrUsed;
        if (ok)
            EXPECT_EQ(image.GetPixelColor(0, 0), (LbRgbQuad{10, 20, 30, 0})) << c.headerSize;
        else
            EXPECT_STREQ(image.GetLastError(), c.refusal) << c.headerSize;
    }
}

TEST(BmpDecode, RowOrderHeaderlessAndCoreHeaders) {
    // 2 x 2, 24 bits: bottom row red, top row blue (bottom-up file order).
    const Bytes rows = {0, 0, 255, 0, 0, 255, 0, 0, /**/ 255, 0, 0, 255, 0, 0, 0, 0};
    BmpLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.data = rows;
    LbImage normal;
    ASSERT_TRUE(DecodeBytes(normal, MakeBmp(layout), LB_FORMAT_BMP));
    EXPECT_EQ(normal.GetPixelColor(0, 0).red, 255);  // bottom
    EXPECT_EQ(normal.GetXDPI(), 72);                  // 2835 per metre

    layout.height = -2;  // same bytes, rows top-down
    LbImage topDown;
    ASSERT_TRUE(DecodeBytes(topDown, MakeBmp(layout), LB_FORMAT_BMP));
    EXPECT_EQ(topDown.GetHeight(), 2u);
    EXPECT_EQ(topDown.GetPixelColor(0, 1).red, 255);  // the first row is the top

    layout.height = 2;
    layout.fileHeader = false;
    LbImage headerless;
    ASSERT_TRUE(DecodeBytes(headerless, MakeBmp(layout), LB_FORMAT_BMP)) << headerless.GetLastError();
    EXPECT_EQ(headerless.GetPixelColor(1, 1).blue, 255);

    // Core header: 16-bit sizes and 3-byte palette entries.
    BmpLayout core;
    core.headerSize = 12;
    core.width = 3;
    core.height = 1;
    core.bpp = 1;
    core.extra = {0, 0, 0, 10, 20, 30};
    core.data = {0x40, 0, 0, 0};  // pixels 0 1 0
    LbImage coreImage;
    ASSERT_TRUE(DecodeBytes(coreImage, MakeBmp(core), LB_FORMAT_BMP)) << coreImage.GetLastError();
    EXPECT_EQ(coreImage.GetPixelColor(1, 0), (LbRgbQuad{10, 20, 30, 0}));
    EXPECT_EQ(coreImage.GetPixelIndex(2, 0), 0);
}

TEST(BmpDecode, RunLengthEncoding) {
    struct Case {
        const char* name;
        uint16_t bpp;
        uint32_t compression;
        int32_t width, height;
        Bytes data;
        std::vector<std::vector<int>> rows;  // bottom row first
    };
    const Case cases[] = {
        {"rle8 runs and eol", 8, 1, 4, 2, {3, 7, 0, 0, 2, 9, 0, 1}, {{7, 7, 7, 0}, {9, 9, 0, 0}}},
        {"rle8 absolute odd padded", 8, 1, 4, 1, {0, 3, 1, 2, 3, 0, 1, 5, 0, 1}, {{1, 2, 3, 5}}},
        {"rle8 delta", 8, 1, 4, 3, {0, 2, 2, 1, 1, 6, 0, 1}, {{0, 0, 0, 0}, {0, 0, 6, 0}, {0, 0, 0, 0}}},
        {"rle8 run past the row is cut", 8, 1, 3, 2, {9, 4, 0, 0, 1, 5, 0, 1}, {{4, 4, 4}, {5, 0, 0}}},
        {"rle8 delta past the picture ends it", 8, 1, 2, 2, {0, 2, 0, 9, 2, 3, 0, 1}, {{0, 0}, {0, 0}}},
        {"rle4 run alternates nibbles", 4, 2, 5, 1, {5, 0x12, 0, 1}, {{1, 2, 1, 2, 1}}},
        {"rle4 absolute", 4, 2, 4, 1, {0, 3, 0x34, 0x50, 0, 1}, {{3, 4, 5, 0}}},
        {"rle4 absolute two bytes padded", 4, 2, 6, 1, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}, {{1, 2, 3, 4, 5, 0}}},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        layout.bpp = c.bpp;
        layout.compression = c.compression;
        layout.extra.assign(size_t(4) << c.bpp, 0);
        layout.data = c.data;
        LbImage image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(layout), LB_FORMAT_BMP)) << c.name << ": " << image.GetLastError();
        for (size_t y = 0; y < c.rows.size(); ++y)
            for (size_t x = 0; x < c.rows[y].size(); ++x)
                EXPECT_EQ(image.GetPixelIndex(int32_t(x), int32_t(y)), c.rows[y][x]) << c.name << " " << x << "," << y;
    }
}

TEST(BmpDecode, BadInputFailsWithAMessage) {
    BmpLayout good;
    good.width = 2;
    good.height = 2;
    good.data.assign(16, 1);
    const Bytes file = MakeBmp(good);
    struct Case {
        const char* name;
        Bytes bytes;
        const char* error;
    };
    auto patched = [&](size_t at, uint32_t v) {
        Bytes b = file;
        Put32(b, at, v);
        return b;
    };
    auto patched16 = [&](size_t at, uint16_t v) {
        Bytes b = file;
        Put16(b, at, v);
        return b;
    };
    const Case cases[] = {
        {"short", Bytes(file.begin(), file.begin() + 10), "Not a BMP"},
        {"header cut", Bytes(file.begin(), file.begin() + 30), "Error reading BMP info"},
        {"rows cut", Bytes(file.begin(), file.end() - 9), "Error reading BMP data"},
        {"unknown header size", patched(14, 77), "Error reading BMP info"},
        {"huge width", patched(18, 0x7FFFFFFF), "Error reading BMP data"},
        {"huge both", patched(22, 0x40000000), "Error reading BMP data"},
        {"negative width", patched(18, 0xFFFFFFFE), "Error reading BMP info"},
        {"bit depth 2", patched16(28, 2), "Error reading BMP info"},
        {"24-bit compressed", patched(30, 1), "unknown compression"},
        {"data offset past the end", patched(10, 0x7FFFFFF0), "Error reading BMP data"},
    };
    for (const Case& c : cases) {
        LbImage image;
        EXPECT_FALSE(DecodeBytes(image, c.bytes, LB_FORMAT_BMP)) << c.name;
        EXPECT_STREQ(image.GetLastError(), c.error) << c.name;
        EXPECT_FALSE(image.IsValid()) << c.name;
    }

    BmpLayout palette;
    palette.width = 4;
    palette.height = 4;
    palette.bpp = 8;
    palette.compression = 5;
    palette.extra.assign(1024, 0);
    palette.data.assign(16, 0);
    LbImage image;
    EXPECT_FALSE(DecodeBytes(image, MakeBmp(palette), LB_FORMAT_BMP));
    EXPECT_STREQ(image.GetLastError(), "compression type not supported");

    palette.compression = 1;
    palette.clrUsed = 0xFFFFFFFF;  // a palette count that lies
    palette.data = {0, 1};
    EXPECT_TRUE(DecodeBytes(image, MakeBmp(palette), LB_FORMAT_BMP)) << image.GetLastError();
}

TEST(BmpEncode, WritesTheBlockBehindAFileHeaderAndReadsBack) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        LbImage image(13, 5, bpp);
        if (bpp < 24) {
            image.SetGrayPalette();
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 13; ++x) image.SetPixelIndex(x, y, uint8_t((x + 2 * y) % (1 << bpp)));
        } else {
            image = Pattern24(13, 5);
        }
        Bytes out;
        ASSERT_TRUE(EncodeBytes(image, out, LB_FORMAT_BMP));
        const uint32_t palette = bpp < 24 ? 4u << bpp : 0;
        EXPECT_EQ(out.size(), 54 + palette + image.GetEffWidth() * 5);
        EXPECT_EQ(Get32(out, 2), out.size());
        EXPECT_EQ(Get32(out, 10), 54 + palette);
        LbImage back;
        ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_BMP));
        EXPECT_EQ(back.GetBpp(), bpp);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(back.GetPixelColor(x, y), image.GetPixelColor(x, y));
    }
    LbImage empty;
    Bytes out;
    EXPECT_FALSE(EncodeBytes(empty, out, LB_FORMAT_BMP));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!");
    LbImage image(2, 2, 24);
    EXPECT_FALSE(image.Encode(static_cast<LbFile*>(nullptr), LB_FORMAT_BMP));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
}

}  // namespace

// Every header size, read from every length of its bytes: the fields once all are
// there, CutShort before (never a read past the bytes given; the sanitizer build
// watches the exact-size copies), NoSignature without a whole file header.
TEST(BmpHeaderReader, ReadsEachLayoutAndNothingPastTheBytes) {
    struct Case {
        uint32_t headerSize;
        size_t fieldBytes;  // of the info header the reader needs
        BmpHeaderRead whole;
        int64_t height;     // as read: 16 bits unsigned in the core header
    } cases[] = {
        {12, 12, BmpHeaderRead::Read, 65534},  {16, 16, BmpHeaderRead::Read, -2},
        {40, 40, BmpHeaderRead::Read, -2},     {52, 52, BmpHeaderRead::Read, -2},
        {56, 56, BmpHeaderRead::Read, -2},     {64, 40, BmpHeaderRead::Read, -2},
        {124, 56, BmpHeaderRead::Read, -2},    {200, 40, BmpHeaderRead::Read, -2},
        {20, 4, BmpHeaderRead::UnknownSize, 0},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.headerSize = c.headerSize == 20 ? 40 : c.headerSize;  // 20: a 40-byte header that says 20
        layout.width = 3;
        layout.height = -2;
        layout.bpp = 16;
        layout.compression = c.headerSize >= 40 ? 3 : 0;
        layout.masks[0] = 0xF800;
        layout.alphaMask = 0x1;
        Bytes bmp = MakeBmp(layout);
        Put32(bmp, 14, c.headerSize);
        for (size_t n = 0; n <= 14 + c.fieldBytes; ++n) {
            const std::vector<uint8_t> bytes(bmp.begin(), bmp.begin() + std::ptrdiff_t(n));
            BmpHeader h;
            const BmpHeaderRead read = BmpReadHeaders(bytes.data(), bytes.size(), h);
            const BmpHeaderRead want = n < 14                 ? BmpHeaderRead::NoSignature
                                       : n < 14 + c.fieldBytes ? BmpHeaderRead::CutShort
                                                                : c.whole;
            ASSERT_EQ(int(read), int(want)) << c.headerSize << " from " << n << " bytes";
            if (read != BmpHeaderRead::Read) continue;
            EXPECT_EQ(h.dataOffset, 14 + c.headerSize) << c.headerSize;
            EXPECT_EQ(std::tuple(h.infoSize, h.width, h.height, h.bpp, h.compression),
                      std::tuple(c.headerSize, int64_t(3), c.height, 16u, layout.compression))
                << c.headerSize;
            EXPECT_EQ(h.masksInHeader, c.headerSize == 52 || c.headerSize == 56 || c.headerSize == 124) << c.headerSize;
            if (h.masksInHeader) EXPECT_EQ(std::pair(h.masks.red, h.masks.alpha), std::pair(0xF800u, c.headerSize > 52 ? 1u : 0u));
        }
    }
}
