// Structure that used to cost far more than the picture: headers read without the
// pixels, a flood of markers before a JPEG's picture, a PNG cut off before its end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/LbFile.h"
#include "image/LbImage.h"
#include "image/LbPictureHeader.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

std::string Encoded(LbImage& picture, uint32_t type) {
    LbMemFile memory;
    memory.Open();
    EXPECT_TRUE(picture.Encode(&memory, type)) << picture.GetLastError();
    const size_t size = size_t(memory.Size());
    uint8_t* buffer = memory.GetBuffer(true);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

LbImage Indexed(uint32_t bpp) {
    LbImage picture(37, 19, bpp);
    picture.SetGrayPalette();
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 37; ++x) picture.SetPixelIndex(x, y, uint8_t((x * 3 + y) % (1 << bpp)));
    return picture;
}

// The EXIF block of a JPEG APP1 marker giving a resolution in dots per inch.
std::string ExifApp1(uint8_t dpiX, uint8_t dpiY) {
    const uint8_t tiff[] = {'I', 'I', 42, 0, 8, 0, 0, 0, 3, 0,
                            0x1A, 1, 5, 0, 1, 0, 0, 0, 50, 0, 0, 0,  // XResolution at 50
                            0x1B, 1, 5, 0, 1, 0, 0, 0, 58, 0, 0, 0,  // YResolution at 58
                            0x28, 1, 3, 0, 1, 0, 0, 0, 2, 0, 0, 0,   // in inches
                            0, 0, 0, 0, dpiX, 0, 0, 0, 1, 0, 0, 0, dpiY, 0, 0, 0, 1, 0, 0, 0};
    const std::string data = std::string("Exif\0\0", 6) + std::string(reinterpret_cast<const char*>(tiff), sizeof tiff);
    return std::string("\xFF\xE1", 2) + char((data.size() + 2) >> 8) + char((data.size() + 2) & 0xFF) + data;
}

bool DecodeBytes(const std::string& bytes, uint32_t type, LbImage& picture) {
    return picture.Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), type);
}

}  // namespace

// What the headers say is what the decoder makes, for every depth a format holds.
TEST(PictureHeader, AgreesWithTheDecoder) {
    struct Case {
        LbImage picture;
        uint32_t type;
    } cases[] = {
        {Pattern24(37, 19), LB_FORMAT_BMP}, {Pattern24(37, 19), LB_FORMAT_PNG}, {Pattern24(37, 19), LB_FORMAT_JPG},
        {Indexed(8), LB_FORMAT_BMP},        {Indexed(8), LB_FORMAT_PNG},        {Indexed(8), LB_FORMAT_GIF},
        {Indexed(8), LB_FORMAT_JPG},        {Indexed(4), LB_FORMAT_BMP},        {Indexed(4), LB_FORMAT_PNG},
        {Indexed(4), LB_FORMAT_GIF},        {Indexed(1), LB_FORMAT_BMP},        {Indexed(1), LB_FORMAT_PNG},
        {Indexed(1), LB_FORMAT_GIF},
    };
    for (Case& c : cases) {
        const std::string bytes = Encoded(c.picture, c.type);
        const std::string path = TempPath("header-" + std::to_string(c.type) + "-" + std::to_string(c.picture.GetBpp()));
        WriteFile(path, Bytes(bytes.begin(), bytes.end()));
        std::FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        LbPictureHeader header;
        std::string error;
        EXPECT_TRUE(LbReadPictureHeader(f, false, header, error));
        std::fclose(f);
        LbImage decoded;
        ASSERT_TRUE(DecodeBytes(bytes, c.type, decoded)) << path;
        EXPECT_EQ(error, "") << path;
        EXPECT_EQ(header.type, c.type) << path;
        EXPECT_EQ(header.width, decoded.GetWidth()) << path;
        EXPECT_EQ(header.height, decoded.GetHeight()) << path;
        EXPECT_EQ(header.bpp, decoded.GetBpp()) << path;
        EXPECT_EQ(header.frames, 1u) << path;
    }
}

TEST(PictureHeader, MarkerFloodsAndCutShortFilesCostOneRead) {
    LbImage picture = Pattern24(40, 24);
    const std::string jpeg = Encoded(picture, LB_FORMAT_JPG);
    // Many empty APP1 markers and an XMP one before the EXIF block; a second EXIF
    // block after it is not the one read.
    std::string flood = jpeg.substr(0, 2) + "\xFF\xE1\x00\x08http";
    for (int i = 0; i < 250000; ++i) flood += std::string("\xFF\xE1\x00\x02", 4);
    flood += ExifApp1(150, 75) + ExifApp1(20, 20) + jpeg.substr(2);
    LbImage plain, flooded;
    ASSERT_TRUE(DecodeBytes(jpeg, LB_FORMAT_JPG, plain));
    ASSERT_TRUE(DecodeBytes(flood, LB_FORMAT_JPG, flooded)) << flooded.GetLastError();
    ASSERT_EQ(flooded.GetSize(), plain.GetSize());
    EXPECT_EQ(0, std::memcmp(flooded.GetBits(), plain.GetBits(), plain.GetEffWidth() * plain.GetHeight()));
    EXPECT_EQ(flooded.GetXDPI(), 150);
    EXPECT_EQ(flooded.GetYDPI(), 75);

    // PNG files without their IEND chunk, for the quick road (8-bit RGB) and libpng's
    // (grey): refused with the reason, and whole files still read.
    LbImage grey = Indexed(8);
    for (const std::string& png : {Encoded(picture, LB_FORMAT_PNG), Encoded(grey, LB_FORMAT_PNG)}) {
        LbImage whole, cut;
        EXPECT_TRUE(DecodeBytes(png, LB_FORMAT_PNG, whole)) << whole.GetLastError();
        EXPECT_FALSE(DecodeBytes(png.substr(0, png.size() - 12), LB_FORMAT_PNG, cut));
        EXPECT_STREQ(cut.GetLastError(), "PNG: the file ends before its IEND chunk (it is cut short)");
    }
}
