// Format dispatch, loading and saving by name, and the RAW, JPEG and PNG codecs.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>

#include "image/LbBudget.h"
#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

TEST(CodecDispatch, UnknownCodes) {
    LbImage image = Pattern24(4, 4);
    Bytes out;
    for (uint32_t type : {0u, 6u, 99u}) {
        EXPECT_FALSE(EncodeBytes(image, out, type));
        EXPECT_STREQ(image.GetLastError(), "Encode: Unknown format");
    }
    LbImage decoded;
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(DecodeBytes(decoded, text, 6));
    EXPECT_STREQ(decoded.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_FALSE(DecodeBytes(decoded, text, LB_FORMAT_GIF));
    EXPECT_FALSE(decoded.IsValid());
    LbImage* pages[] = {&image};
    EXPECT_FALSE(image.Encode(nullptr, pages, 1, LB_FORMAT_PNG));
    EXPECT_STREQ(image.GetLastError(), "Multipage Encode, Unsupported operation for this format");
}

TEST(CodecDispatch, DetectionFallsBackToRaw) {
    const std::string path = TempPath("notes.txt");
    WriteFile(path, Bytes{'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'});
    LbImage image;
    ASSERT_TRUE(image.Load(path, LB_FORMAT_UNKNOWN));
    EXPECT_EQ(image.GetType(), uint32_t(LB_FORMAT_RAW));
    EXPECT_EQ(image.GetWidth(), 128u);
    EXPECT_EQ(image.GetHeight(), 64u);
}

TEST(CodecDispatch, TypedLoadFallsBackToDetectionAndKeepsTheTypedMessage) {
    LbImage picture = Pattern24(8, 8);
    const std::string path = TempPath("really-a-png.bmp");
    ASSERT_TRUE(picture.Save(path, LB_FORMAT_PNG));
    LbImage image;
    ASSERT_TRUE(image.Load(path, LB_FORMAT_BMP));
    EXPECT_EQ(image.GetType(), uint32_t(LB_FORMAT_PNG));

    const std::string jpeg = TempPath("really-a-jpeg.bmp");
    ASSERT_TRUE(picture.Save(jpeg, LB_FORMAT_JPG));
    LbImage fromJpeg;
    ASSERT_TRUE(fromJpeg.Load(jpeg, LB_FORMAT_BMP));
    EXPECT_EQ(fromJpeg.GetType(), uint32_t(LB_FORMAT_JPG));
    EXPECT_STREQ(fromJpeg.GetLastError(), "Error reading BMP info");

    LbImage missing;
    EXPECT_FALSE(missing.Load(TempPath("does-not-exist.bmp"), LB_FORMAT_BMP));
    EXPECT_STREQ(missing.GetLastError(), "");

    // The PNG named .bmp over the pixel limit: the refusal that names the limit, told
    // by its code, rather than the BMP decoder's.
    LbLimits small;
    small.pixels = 10;
    LbJob job(small);
    LbImage overLimit;
    EXPECT_FALSE(overLimit.Load(path, LB_FORMAT_BMP));
    EXPECT_EQ(overLimit.GetLastErrorCode(), LbError::OverLimit);
    EXPECT_STREQ(overLimit.GetLastError(), "picture of 8 x 8 pixels is over the pixel limit of 10 pixels");
}

TEST(CodecDispatch, DamagedPicturesFailInsteadOfOpeningAsRawNoise) {
    // Bytes no real decoder takes: named as a picture they fail with the typed
    // decoder's message; only untyped or ".raw" loads fall back to the RAW strips.
    const std::string path = TempPath("damaged.gif");
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        for (int i = 0; i < 2000; ++i) std::fputc((i * 37) & 0xFF, f);
        std::fclose(f);
    }
    const std::pair<uint32_t, const char*> refusals[] = {
        {LB_FORMAT_BMP, "Error reading BMP info"},
        {LB_FORMAT_GIF, "GIF: no GIF header"},
        {LB_FORMAT_JPG, "Not a JPEG file: starts with 0x00 0x25"},
        {LB_FORMAT_PNG, "Not a PNG file"},
    };
    for (const auto& [type, says] : refusals) {
        LbImage image;
        EXPECT_FALSE(image.Load(path, type)) << type;
        EXPECT_FALSE(image.IsValid());
        EXPECT_STREQ(image.GetLastError(), says) << type;
    }
    for (uint32_t type : {LB_FORMAT_UNKNOWN, LB_FORMAT_RAW}) {
        LbImage image;
        ASSERT_TRUE(image.Load(path, type)) << type;
        EXPECT_EQ(image.GetWidth(), 128u);
    }
}

TEST(CodecSave, FailureLeavesNoFileAndKeepsTheOldOne) {
    const std::string path = TempPath("kept.png");
    WriteFile(path, Bytes{1, 2, 3});
    LbImage empty;
    EXPECT_FALSE(empty.Save(path, LB_FORMAT_PNG));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!");
    EXPECT_EQ(ReadFile(path), (Bytes{1, 2, 3}));
    LbImage image = Pattern24(3, 3);
    EXPECT_FALSE(image.Save(TempPath("no-such-folder/x.bmp"), LB_FORMAT_BMP));
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        EXPECT_EQ(entry.path().filename().string().rfind("kept.png.", 0), std::string::npos) << entry.path();
    ASSERT_TRUE(image.Save(path, LB_FORMAT_BMP));
    EXPECT_EQ(ReadFile(path).size(), 54u + 12u * 3u);
}

TEST(RawCodec, RoundTripAndLayout) {
    LbImage image(128, 64, 24);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            const uint8_t v = ((x * 3 + y * 7) % 5 == 0) ? 0 : 255;
            image.SetPixelColor(x, y, LbRgbQuad{v, v, v, 0});
        }
    Bytes out;
    ASSERT_TRUE(EncodeBytes(image, out, LB_FORMAT_RAW));
    ASSERT_EQ(out.size(), 1024u);
    // Word 0 is column 0 of the top band; bit j is row j from the top.
    uint16_t word0 = 0;
    for (int j = 0; j < 16; ++j)
        if (image.GetPixelColor(0, 63 - j).red == 0) word0 = uint16_t(word0 | (1 << j));
    EXPECT_EQ(out[0] | (out[1] << 8), word0);
    LbImage back;
    ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_RAW));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) ASSERT_EQ(back.GetPixelColor(x, y), image.GetPixelColor(x, y));
}

TEST(RawCodec, ShortStreamsRepeatTheLastWordAndPartialBands) {
    LbImage image;
    ASSERT_TRUE(DecodeBytes(image, Bytes{0x01, 0x80, 0x03}, LB_FORMAT_RAW));
    // Word 0 = 0x8001 (rows 0 and 15 from the top of column 0); all later words repeat it.
    EXPECT_EQ(image.GetPixelColor(0, 63).red, 0);
    EXPECT_EQ(image.GetPixelColor(0, 62).red, 255);
    EXPECT_EQ(image.GetPixelColor(127, 48).red, 0);
    EXPECT_EQ(image.GetPixelColor(5, 0).red, 0);

    LbImage small(3, 20, 24);
    small.Clear(255);
    small.SetPixelColor(0, 0, LbRgbQuad{0, 0, 0, 0});  // bottom-left black
    Bytes out;
    ASSERT_TRUE(EncodeBytes(small, out, LB_FORMAT_RAW));
    EXPECT_EQ(out.size(), 3u * 2u * 2u);
    // Rows below the picture read as pixel (0, 0): black.
    const uint16_t second = uint16_t(out[6] | (out[7] << 8));
    EXPECT_EQ(second, 0xFFF8);
    LbImage cancelled;
    cancelled.SetEscape(1);
    EXPECT_FALSE(DecodeBytes(cancelled, out, LB_FORMAT_RAW));
    EXPECT_STREQ(cancelled.GetLastError(), "Cancelled");
}

TEST(JpegCodec, RoundTripsColourAndGrey) {
    LbImage image(40, 30, 24);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image.SetPixelColor(x, y, LbRgbQuad{40, 90, 200, 0});
    image.SetXDPI(150);
    image.SetYDPI(120);
    Bytes out;
    ASSERT_TRUE(EncodeBytes(image, out, LB_FORMAT_JPG));
    LbImage back;
    ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_JPG)) << back.GetLastError();
    EXPECT_EQ(back.GetBpp(), 24u);
    EXPECT_EQ(back.GetXDPI(), 150);
    EXPECT_EQ(back.GetYDPI(), 120);
    const LbRgbQuad c = back.GetPixelColor(20, 15);
    EXPECT_NEAR(c.red, 200, 3);
    EXPECT_NEAR(c.green, 90, 3);
    EXPECT_NEAR(c.blue, 40, 3);

    LbImage grey(16, 16, 8);
    grey.SetGrayPalette();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) grey.SetPixelIndex(x, y, y < 8 ? 30 : 220);  // dark bottom half
    ASSERT_TRUE(EncodeBytes(grey, out, LB_FORMAT_JPG));
    ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_JPG));
    EXPECT_EQ(back.GetBpp(), 8u);
    EXPECT_TRUE(back.IsGrayScale());
    EXPECT_NEAR(back.GetPixelIndex(3, 2), 30, 4);
    EXPECT_NEAR(back.GetPixelIndex(3, 13), 220, 4);
}

TEST(JpegCodec, RefusesColourPalettesAndReportsLibjpegErrors) {
    LbImage indexed(4, 4, 8);
    indexed.SetPaletteColor(1, 255, 0, 0);
    Bytes out;
    EXPECT_FALSE(EncodeBytes(indexed, out, LB_FORMAT_JPG));
    EXPECT_STREQ(indexed.GetLastError(), "JPEG can save only RGB or GreyScale images");
    LbImage mono(4, 4, 1);  // black and white is not a grey ramp 0, 1
    mono.SetGrayPalette();
    EXPECT_FALSE(EncodeBytes(mono, out, LB_FORMAT_JPG));

    LbImage image;
    EXPECT_FALSE(DecodeBytes(image, Bytes{0xFF, 0xD8, 0xFF, 0xC0, 0, 3}, LB_FORMAT_JPG));
    EXPECT_STREQ(image.GetLastError(), "Bogus marker length");
    EXPECT_FALSE(DecodeBytes(image, Bytes{'x'}, LB_FORMAT_JPG));
    EXPECT_EQ(std::string(image.GetLastError()).rfind("Not a JPEG file", 0), 0u) << image.GetLastError();

    // A JPEG that ends early still decodes (the end is supplied).
    LbImage picture = Pattern24(64, 64);
    ASSERT_TRUE(EncodeBytes(picture, out, LB_FORMAT_JPG));
    out.resize(out.size() * 2 / 3);
    EXPECT_TRUE(DecodeBytes(image, out, LB_FORMAT_JPG)) << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), 64u);
}


TEST(PngCodec, DecodesEveryKindToTheLibraryFormats) {
    struct Case {
        const char* name;
        PngLayout layout;
        uint32_t bpp;
        LbRgbQuad pixel0;  // top-left
    };
    std::vector<Case> cases;
    {
        PngLayout s{2, 1, 8, PNG_COLOR_TYPE_RGB, false, {}, {}, {{10, 20, 30, 40, 50, 60}}};
        cases.push_back({"rgb8", s, 24, {30, 20, 10, 0}});
    }
    {
        PngLayout s{1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, false, {}, {}, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 0}}};
        cases.push_back({"rgba16", s, 24, {0x9A, 0x56, 0x12, 0}});
    }
    {
        PngLayout s{2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, false, {}, {}, {{77, 0, 99, 255}}};
        cases.push_back({"grey alpha 8", s, 8, {77, 77, 77, 0}});
    }
    {
        PngLayout s{1, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, false, {}, {}, {{0xC8, 0x11, 0, 0}}};
        cases.push_back({"grey alpha 16", s, 24, {0xC8, 0xC8, 0xC8, 0}});
    }
    {
        PngLayout s{4, 1, 2, PNG_COLOR_TYPE_GRAY, false, {}, {}, {{0x1B}}};  // 0 1 2 3
        cases.push_back({"grey 2-bit", s, 4, {0, 0, 0, 0}});
    }
    {
        PngLayout s{3, 1, 4, PNG_COLOR_TYPE_GRAY, false, {}, {}, {{0xF1, 0x20}}};
        cases.push_back({"grey 4-bit", s, 4, {255, 255, 255, 0}});
    }
    {
        PngLayout s{1, 1, 16, PNG_COLOR_TYPE_GRAY, false, {}, {}, {{0xAB, 0xCD}}};
        cases.push_back({"grey 16", s, 8, {0xAB, 0xAB, 0xAB, 0}});
    }
    {
        PngLayout s{3, 1, 2, PNG_COLOR_TYPE_PALETTE, false, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, {{0x90}}};  // 2 1 0
        cases.push_back({"palette 2-bit", s, 4, {9, 8, 7, 0}});
    }
    for (Case& c : cases) {
        LbImage image;
        ASSERT_TRUE(DecodeBytes(image, MakePng(c.layout), LB_FORMAT_PNG)) << c.name << ": " << image.GetLastError();
        EXPECT_EQ(image.GetBpp(), c.bpp) << c.name;
        EXPECT_EQ(image.GetPixelColor(0, int32_t(image.GetHeight()) - 1), c.pixel0) << c.name;
    }
    // 2-bit rows widen to 4-bit indices with the four greys.
    PngLayout two{4, 1, 2, PNG_COLOR_TYPE_GRAY, false, {}, {}, {{0x1B}}};
    LbImage image;
    ASSERT_TRUE(DecodeBytes(image, MakePng(two), LB_FORMAT_PNG));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.GetPixelIndex(x, 0), x);
        EXPECT_EQ(image.GetPixelColor(x, 0).red, 85 * x);
    }
}

// A decode under a tight memory limit counts what it really allocates: the picture
// at its own depth and a row buffer of its own only where it makes one.
TEST(CodecBudget, DecodersCountOnlyWhatTheyAllocate) {
    PngLayout deep{200, 100, 16, PNG_COLOR_TYPE_RGB_ALPHA, false, {}, {}, {}};
    deep.rows.assign(100, std::vector<uint8_t>(200 * 8, 0x5A));
    PngLayout twoBit{800, 100, 2, PNG_COLOR_TYPE_GRAY, false, {}, {}, {}};
    twoBit.rows.assign(100, std::vector<uint8_t>(200, 0x1B));
    LbImage grey(400, 400, 8);
    grey.SetGrayPalette();
    Bytes greyJpeg;
    ASSERT_TRUE(EncodeBytes(grey, greyJpeg, LB_FORMAT_JPG));
    struct Case {
        const char* name;
        Bytes bytes;
        uint32_t type;
        uint64_t memory;
        const char* says;  // part of the refusal, nullptr when the decode succeeds
    } cases[] = {
        // 60 KB of picture and 20 KB of alpha; the 16-bit rows pass through one row
        // buffer, never all 160 KB at once.
        {"16-bit RGBA PNG", MakePng(deep), LB_FORMAT_PNG, 90000, nullptr},
        // 40 KB of 4-bit picture and 20 KB of 2-bit rows widened from a buffer.
        {"2-bit PNG", MakePng(twoBit), LB_FORMAT_PNG, 70000, nullptr},
        {"2-bit PNG without room for its buffer", MakePng(twoBit), LB_FORMAT_PNG, 50000, "memory limit of 50000 bytes"},
        // 161 KB of 8-bit picture, not 480 KB of colour.
        {"grey JPEG", greyJpeg, LB_FORMAT_JPG, 250000, nullptr},
    };
    for (const Case& c : cases) {
        LbLimits limits;
        limits.memory = c.memory;
        LbJob job(limits);
        LbImage image;
        const bool ok = DecodeBytes(image, c.bytes, c.type);
        EXPECT_EQ(ok, c.says == nullptr) << c.name << ": " << image.GetLastError();
        if (c.says != nullptr) {
            EXPECT_NE(std::string(image.GetLastError()).find(c.says), std::string::npos)
                << c.name << ": " << image.GetLastError();
        }
    }
}

TEST(PngCodec, InterlacedEqualsPlain) {
    PngLayout s{9, 7, 8, PNG_COLOR_TYPE_RGB, false, {}, {}, {}};
    for (uint32_t y = 0; y < 7; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < 9; ++x) row.insert(row.end(), {uint8_t(x * 20), uint8_t(y * 30), uint8_t(x ^ y)});
        s.rows.push_back(row);
    }
    LbImage plain, interlaced;
    ASSERT_TRUE(DecodeBytes(plain, MakePng(s), LB_FORMAT_PNG));
    s.interlace = true;
    ASSERT_TRUE(DecodeBytes(interlaced, MakePng(s), LB_FORMAT_PNG)) << interlaced.GetLastError();
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(plain.GetPixelColor(x, y), interlaced.GetPixelColor(x, y));
    EXPECT_EQ(plain.GetPixelColor(2, 6), (LbRgbQuad{2, 0, 40, 0}));
}

TEST(PngCodec, TransparencyOnDecode) {
    PngLayout s{2, 1, 8, PNG_COLOR_TYPE_PALETTE, false, {10, 10, 10, 20, 20, 20, 30, 30, 30}, {0}, {{0, 1}}};
    LbImage single;
    ASSERT_TRUE(DecodeBytes(single, MakePng(s), LB_FORMAT_PNG));
    EXPECT_EQ(single.GetTransIndex(), 0);
    EXPECT_FALSE(single.AlphaPaletteIsEnabled());

    s.trns = {255, 128};
    LbImage alpha;
    ASSERT_TRUE(DecodeBytes(alpha, MakePng(s), LB_FORMAT_PNG));
    EXPECT_EQ(alpha.GetTransIndex(), -1);
    EXPECT_TRUE(alpha.AlphaPaletteIsEnabled());
    EXPECT_EQ(alpha.GetPaletteColor(0).reserved, 255);
    EXPECT_EQ(alpha.GetPaletteColor(1).reserved, 128);
    EXPECT_EQ(alpha.GetPaletteColor(2).reserved, 255);  // beyond the chunk
    EXPECT_EQ(alpha.GetPixelColor(1, 0).reserved, 0);   // the accessor clears it
}

TEST(PngCodec, EncodeRoundTripsAndTransparencyRules) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        LbImage image(23, 9, bpp);
        if (bpp < 24) {
            for (uint32_t i = 0; i < image.GetNumColors(); ++i) image.SetPaletteColor(uint8_t(i), uint8_t(i * 3), uint8_t(255 - i), 7);
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 23; ++x) image.SetPixelIndex(x, y, uint8_t((x * y) % (1 << bpp)));
        } else {
            image = Pattern24(23, 9);
        }
        Bytes out;
        ASSERT_TRUE(EncodeBytes(image, out, LB_FORMAT_PNG)) << image.GetLastError();
        LbImage back;
        ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_PNG)) << back.GetLastError();
        EXPECT_EQ(back.GetBpp(), bpp);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 23; ++x) ASSERT_EQ(back.GetPixelColor(x, y), image.GetPixelColor(x, y)) << bpp;
    }

    // Transparent index 5 is written as entry 0 with a one-entry tRNS of 0; the image
    // being saved is not changed.
    LbImage image(4, 1, 8);
    for (int i = 0; i < 8; ++i) image.SetPaletteColor(uint8_t(i), uint8_t(i * 30), 0, 0);
    for (int x = 0; x < 4; ++x) image.SetPixelIndex(x, 0, uint8_t(x + 3));  // 3 4 5 6
    image.SetTransIndex(5);
    Bytes out;
    ASSERT_TRUE(EncodeBytes(image, out, LB_FORMAT_PNG));
    EXPECT_EQ(image.GetPixelIndex(2, 0), 5);
    EXPECT_EQ(image.GetPaletteColor(5).red, 150);
    LbImage back;
    ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_PNG));
    EXPECT_EQ(back.GetTransIndex(), 0);
    EXPECT_EQ(back.GetPixelIndex(2, 0), 0);
    EXPECT_EQ(back.GetPixelColor(2, 0).red, 150);
    EXPECT_EQ(back.GetPixelColor(3, 0).red, 180);
    // The palette is cut after the highest index used (here 6, as the swap moved 5 to 0).
    EXPECT_EQ(back.GetPaletteColor(7).red, 0);
    EXPECT_EQ(back.GetPaletteColor(6).red, 180);

    LbImage withAlpha(2, 1, 8);
    withAlpha.SetPaletteColor(0, 1, 2, 3, 40);
    withAlpha.SetPaletteColor(1, 4, 5, 6, 255);
    withAlpha.SetPixelIndex(1, 0, 1);
    withAlpha.AlphaPaletteEnable(true);
    ASSERT_TRUE(EncodeBytes(withAlpha, out, LB_FORMAT_PNG));
    ASSERT_TRUE(DecodeBytes(back, out, LB_FORMAT_PNG));
    EXPECT_TRUE(back.AlphaPaletteIsEnabled());
    EXPECT_EQ(back.GetPaletteColor(0).reserved, 40);
}

TEST(PngCodec, BadInputFailsWithAMessage) {
    PngLayout s{4, 4, 8, PNG_COLOR_TYPE_RGB, false, {}, {}, {}};
    for (int y = 0; y < 4; ++y) s.rows.push_back(std::vector<uint8_t>(12, uint8_t(y)));
    const Bytes good = MakePng(s);
    LbImage image;
    EXPECT_FALSE(DecodeBytes(image, Bytes(good.begin(), good.begin() + good.size() / 2), LB_FORMAT_PNG));
    EXPECT_STREQ(image.GetLastError(), "PNG: the file ends before its IEND chunk (it is cut short)");
    // A header that claims more than it may, with its CRC made right so that the size
    // is what is judged.
    const struct {
        uint32_t width, height;
        uint64_t memory;
        const char* says;
    } claims[] = {
        {100000, 100000, kLbMemoryLimit, "picture of 100000 x 100000 pixels is over the pixel limit of 268435456 pixels"},
        {2000, 1000, 1u << 20, "LbImage::Create can't allocate memory: needs 6000040 bytes, beyond the memory limit of 1048576 bytes"},
        {0x00100000, 1, kLbMemoryLimit, "Invalid IHDR data"},  // over libpng's own width limit
        {1, 0, kLbMemoryLimit, "Invalid IHDR data"},
    };
    const auto putBig32 = [](Bytes& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
    };
    for (const auto& c : claims) {
        Bytes huge = good;
        putBig32(huge, 16, c.width);
        putBig32(huge, 20, c.height);
        putBig32(huge, 29, uint32_t(crc32(0, &huge[12], 17)));
        LbLimits limits;
        limits.memory = c.memory;
        LbJob job(limits);
        EXPECT_FALSE(DecodeBytes(image, huge, LB_FORMAT_PNG));
        EXPECT_STREQ(image.GetLastError(), c.says) << c.width << " x " << c.height;
    }
    EXPECT_FALSE(DecodeBytes(image, Bytes{'G', 'I', 'F', '8'}, LB_FORMAT_PNG));
    EXPECT_FALSE(image.IsValid());
}

}  // namespace
