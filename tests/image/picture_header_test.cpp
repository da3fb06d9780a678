// Structure that used to cost far more than the picture: headers read without the
// pixels, a flood of markers before a JPEG's picture, a PNG cut off before its end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "image/LbImage.h"
#include "image/LbPictureHeader.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

LbImage Picture(uint32_t bpp) {
    if (bpp == 24) return Pattern24(37, 19);
    LbImage picture(37, 19, bpp);
    picture.SetGrayPalette();
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 37; ++x) picture.SetPixelIndex(x, y, uint8_t((x * 3 + y) % (1 << bpp)));
    return picture;
}

Bytes Saved(LbImage picture, uint32_t type, const std::string& path) {
    EXPECT_TRUE(picture.Save(path, type)) << path;
    return ReadFile(path);
}

Bytes AsBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A JPEG APP1 marker whose EXIF block gives a resolution in dots per inch.
std::string ExifApp1(char dpiX, char dpiY) {
    const std::string tiff("II*\0\x08\0\0\0\x03\0"                     // header, first IFD of 3 entries
                           "\x1A\x01\x05\0\x01\0\0\0\x32\0\0\0"         // XResolution at 50
                           "\x1B\x01\x05\0\x01\0\0\0\x3A\0\0\0"         // YResolution at 58
                           "\x28\x01\x03\0\x01\0\0\0\x02\0\0\0\0\0\0\0",  // in inches; no next IFD
                           50);
    const std::string data = std::string("Exif\0\0", 6) + tiff + dpiX + std::string("\0\0\0\x01\0\0\0", 7) + dpiY +
                             std::string("\0\0\0\x01\0\0\0", 7);
    return std::string("\xFF\xE1\0", 3) + char(data.size() + 2) + data;
}

}  // namespace

// What the headers say is what the decoder makes (or the decoder's refusal), for every
// depth a format holds, and on files where they once differed: the short OS/2 header
// the decoder reads, a GIF of no image, a GIF whose broken control block ends its blocks.
TEST(PictureHeader, AgreesWithTheDecoder) {
    struct Case {
        uint32_t type;
        Bytes bytes;
        bool decodes;  // the decoder must read it (else either way, as long as both agree)
    };
    std::vector<Case> cases;
    for (uint32_t bpp : {1u, 4u, 8u, 24u})
        for (uint32_t type : {LB_FORMAT_BMP, LB_FORMAT_PNG, LB_FORMAT_GIF, LB_FORMAT_JPG})
            if ((type != LB_FORMAT_GIF || bpp != 24) && (type != LB_FORMAT_JPG || bpp >= 8))
                cases.push_back({type, Saved(Picture(bpp), type, TempPath("header-saved")), true});
    BmpLayout os2;
    os2.headerSize = 16;
    os2.width = 2;
    os2.height = 2;
    os2.data = Bytes(16, 0x7F);
    const std::string screen("GIF89a\x02\0\x02\0\x80\0\0\0\0\0\xFF\xFF\xFF", 19);
    const std::string image("\x2C\0\0\0\0\x02\0\x02\0\0\x02\x02\x44\x01\0", 15);
    cases.push_back({LB_FORMAT_BMP, MakeBmp(os2), false});
    cases.push_back({LB_FORMAT_GIF, AsBytes(screen + ";"), false});
    cases.push_back({LB_FORMAT_GIF, AsBytes(screen + std::string("\x21\xF9\x05\0\0\0\0\0\0", 9) + image + ";"), false});
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string path = TempPath("header-" + std::to_string(i));
        WriteFile(path, c.bytes);
        LbImage decoded;
        const bool ok = decoded.Load(path, c.type);
        EXPECT_TRUE(ok || !c.decodes) << path << ": " << decoded.GetLastError();
        std::FILE* f = std::fopen(path.c_str(), "rb");
        LbPictureHeader h;
        std::string error;
        EXPECT_TRUE(LbReadPictureHeader(f, false, h, error)) << path;
        std::fclose(f);
        if (ok)
            EXPECT_EQ(std::tuple(h.type, h.width, h.height, h.bpp, h.frames, error),
                      std::tuple(c.type, decoded.GetWidth(), decoded.GetHeight(), decoded.GetBpp(), 1u, std::string()))
                << path;
        else
            EXPECT_EQ(std::pair(h.type, error), std::pair(c.type, std::string(decoded.GetLastError()))) << path;
    }
}

TEST(PictureHeader, MarkerFloodsAndCutShortFilesCostOneRead) {
    const Bytes jpeg = Saved(Picture(24), LB_FORMAT_JPG, TempPath("flood-base.jpg"));
    // Many empty APP1 markers and an XMP one before the EXIF block; a second EXIF
    // block after it is not the one read.
    std::string flood("\xFF\xD8\xFF\xE1\x00\x06http", 10);
    for (int i = 0; i < 250000; ++i) flood += std::string("\xFF\xE1\x00\x02", 4);
    flood += ExifApp1(char(150), 75) + ExifApp1(20, 20) + std::string(jpeg.begin() + 2, jpeg.end());
    LbImage plain, flooded;
    ASSERT_TRUE(DecodeBytes(plain, jpeg, LB_FORMAT_JPG));
    ASSERT_TRUE(DecodeBytes(flooded, AsBytes(flood), LB_FORMAT_JPG)) << flooded.GetLastError();
    ASSERT_EQ(flooded.GetSize(), plain.GetSize());
    EXPECT_EQ(0, std::memcmp(flooded.GetBits(), plain.GetBits(), plain.GetEffWidth() * plain.GetHeight()));
    EXPECT_EQ(std::pair(flooded.GetXDPI(), flooded.GetYDPI()), std::pair(150, 75));

    // PNG files without their IEND chunk, for the quick road (8-bit RGB) and libpng's
    // (grey): refused with the reason, and whole files still read.
    for (uint32_t bpp : {24u, 8u}) {
        const Bytes png = Saved(Picture(bpp), LB_FORMAT_PNG, TempPath("cut.png"));
        LbImage whole, cut;
        EXPECT_TRUE(DecodeBytes(whole, png, LB_FORMAT_PNG)) << whole.GetLastError();
        EXPECT_FALSE(DecodeBytes(cut, Bytes(png.begin(), png.end() - 12), LB_FORMAT_PNG));
        EXPECT_STREQ(cut.GetLastError(), "PNG: the file ends before its IEND chunk (it is cut short)");
    }
}
