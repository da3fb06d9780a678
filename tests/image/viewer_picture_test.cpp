// Pictures opened as viewers show them: bit-field BMPs of any layout and header,
// transparency composed over a background, and every EXIF orientation stood upright.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <functional>

#include "logo/PictureLoad.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

using Rgb = std::array<uint8_t, 3>;

// The picture's pixels, rows from the top.
std::vector<Rgb> Pixels(const LbImage& image) {
    std::vector<Rgb> out;
    for (int32_t y = int32_t(image.GetHeight()) - 1; y >= 0; --y)
        for (int32_t x = 0; x < int32_t(image.GetWidth()); ++x) {
            const LbRgbQuad c = image.GetPixelColor(x, y);
            out.push_back({c.red, c.green, c.blue});
        }
    return out;
}

bool Load(const Bytes& bytes, const std::string& name, const logo::PictureView& view, LbImage& picture) {
    const std::string path = TempPath(name);
    WriteFile(path, bytes);
    std::string error;
    const bool ok = logo::LoadPicture(path, 0, picture, error, nullptr, true, view);
    EXPECT_TRUE(ok) << name << ": " << error;
    return ok;
}

Bytes Bmp(uint32_t header, uint16_t bpp, uint32_t compression, std::vector<uint32_t> masks, const Bytes& row) {
    BmpLayout b;
    b.headerSize = header;
    b.width = int32_t(row.size() * 8 / bpp);
    b.bpp = bpp;
    b.compression = compression;
    if (header >= 52)
        for (size_t i = 0; i < 3; ++i) b.masks[i] = masks[i];
    else if (!masks.empty())
        for (uint32_t m : masks) b.extra.insert(b.extra.end(), {uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24)});
    if (header >= 56 && masks.size() > 3) b.alphaMask = masks[3];
    b.data = row;
    b.data.resize((row.size() + 3) / 4 * 4, 0);
    return MakeBmp(b);
}

Bytes Png(int colorType, int depth, std::vector<uint8_t> row, std::vector<uint8_t> palette = {}, std::vector<uint8_t> trns = {}) {
    PngLayout p;
    p.width = uint32_t(row.size() * 8 / size_t(depth * (colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 1)));
    p.bitDepth = depth;
    p.colorType = colorType;
    p.palette = palette;
    p.trns = trns;
    p.rows = {row};
    return MakePng(p);
}

Bytes TransparentGif() {
    LbImage image(2, 1, 8, LB_FORMAT_GIF);
    image.SetPaletteColor(0, 255, 0, 0);
    image.SetPaletteColor(1, 0, 0, 255);
    image.SetPixelIndex(0, 0, 0);
    image.SetPixelIndex(1, 0, 1);
    image.SetTransIndex(0);
    Bytes out;
    EXPECT_TRUE(EncodeBytes(image, out, LB_FORMAT_GIF));
    return out;
}

}  // namespace

TEST(ViewerPicture, BitFieldsAndTransparencyGiveThePixelsAViewerShows) {
    const LbRgbQuad white{255, 255, 255, 0}, blue{255, 0, 0, 0}, slate{48, 32, 16, 0};
    struct Case {
        const char* name;
        Bytes file;
        LbRgbQuad background;
        std::vector<Rgb> want;
    };
    const Case cases[] = {
        {"16-bit 3-10-3 after a 40-byte header", Bmp(40, 16, 3, {0xE000, 0x1FF8, 0x0007}, {0x00, 0xE0, 0xF9, 0x1F}), white,
         {{255, 0, 0}, {0, 255, 36}}},
        {"16-bit 5-5-5 without masks, widened", Bmp(40, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x40}), white,
         {{255, 255, 255}, {132, 0, 0}}},
        {"16-bit 1-9-2-4 with alpha in a 56-byte header", Bmp(56, 16, 3, {0x7FC0, 0x0030, 0x000F, 0x8000}, {0xFF, 0xFF, 0x25, 0x00}),
         blue, {{255, 255, 255}, {0, 0, 255}}},
        {"16-bit 5-6-5 in a 52-byte header", Bmp(52, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x1F, 0xF8}), white, {{255, 0, 255}}},
        {"32-bit masks in the other order after a 40-byte header",
         Bmp(40, 32, 3, {0xFF, 0xFF00, 0xFF0000}, {0x11, 0x22, 0x33, 0x00}), white, {{0x11, 0x22, 0x33}}},
        {"32-bit with alpha in a 124-byte header", Bmp(124, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                                                       {0x00, 0x64, 0xC8, 0x80, 0x1E, 0x14, 0x0A, 0xFF}),
         white, {{227, 177, 127}, {10, 20, 30}}},
        {"24-bit after the short OS/2 header", Bmp(16, 24, 0, {}, {30, 20, 10}), white, {{10, 20, 30}}},
        {"RGBA PNG over white", Png(PNG_COLOR_TYPE_RGB_ALPHA, 8, {200, 100, 0, 128, 10, 20, 30, 0}), white,
         {{227, 177, 127}, {255, 255, 255}}},
        {"RGBA PNG over blue", Png(PNG_COLOR_TYPE_RGB_ALPHA, 8, {200, 100, 0, 128, 10, 20, 30, 0}), blue,
         {{100, 50, 127}, {0, 0, 255}}},
        {"palette PNG with a transparent index", Png(PNG_COLOR_TYPE_PALETTE, 8, {0, 1}, {255, 0, 0, 0, 255, 0}, {0}),
         slate, {{16, 32, 48}, {0, 255, 0}}},
        {"palette PNG with alpha values", Png(PNG_COLOR_TYPE_PALETTE, 8, {0, 1}, {255, 0, 0, 0, 255, 0}, {255, 64}), white,
         {{255, 0, 0}, {191, 255, 191}}},
        {"GIF with a transparent index", TransparentGif(), slate, {{16, 32, 48}, {0, 0, 255}}},
    };
    for (const Case& c : cases) {
        LbImage picture;
        if (!Load(c.file, "viewer.pic", {true, true, c.background}, picture)) continue;
        EXPECT_EQ(picture.GetBpp(), 24u) << c.name;
        EXPECT_FALSE(picture.AlphaIsValid()) << c.name;
        EXPECT_EQ(Pixels(picture), c.want) << c.name;
    }
}

TEST(ViewerPicture, EveryExifOrientationStandsUpright) {
    // A 3 x 2 JPEG of flat 8 x 8 blocks (so that it survives compression alike in
    // both loads), its APP1 giving the orientation.
    LbImage stored(24, 16, 24, LB_FORMAT_JPG);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 24; ++x)
            stored.SetPixelColor(x, y, LbRgbQuad{uint8_t(x / 8 * 120), uint8_t(y / 8 * 200), uint8_t(60 + x / 8 * 40), 0});
    Bytes jpeg;
    ASSERT_TRUE(EncodeBytes(stored, jpeg, LB_FORMAT_JPG));
    const int W = 24, H = 16;
    // Where the upright pixel (X, Y) lies in the stored rows, rows from the top.
    using Map = std::function<std::pair<int, int>(int, int)>;
    const Map maps[9] = {
        {},
        [](int X, int Y) { return std::pair{X, Y}; },
        [](int X, int Y) { return std::pair{W - 1 - X, Y}; },
        [](int X, int Y) { return std::pair{W - 1 - X, H - 1 - Y}; },
        [](int X, int Y) { return std::pair{X, H - 1 - Y}; },
        [](int X, int Y) { return std::pair{Y, X}; },
        [](int X, int Y) { return std::pair{Y, H - 1 - X}; },
        [](int X, int Y) { return std::pair{W - 1 - Y, H - 1 - X}; },
        [](int X, int Y) { return std::pair{W - 1 - Y, X}; },
    };
    for (uint8_t o = 1; o <= 8; ++o) {
        // "Exif\0\0", a little-endian TIFF header, one IFD entry: 0x0112 SHORT 1 = o.
        const Bytes app1 = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
                            1,    0,    0x12, 0x01, 3, 0, 1, 0, 0, 0, o, 0, 0, 0, 0, 0, 0, 0};
        Bytes file = jpeg;
        file.insert(file.begin() + 2, app1.begin(), app1.end());
        LbImage asStored, upright;
        if (!Load(file, "turned.jpg", {false, true, kLbWhite}, asStored) || !Load(file, "turned.jpg", {}, upright)) continue;
        const bool quarter = o >= 5;
        ASSERT_EQ(upright.GetWidth(), uint32_t(quarter ? H : W)) << int(o);
        const std::vector<Rgb> s = Pixels(asStored), u = Pixels(upright);
        for (int Y = 0; Y < int(upright.GetHeight()); ++Y)
            for (int X = 0; X < int(upright.GetWidth()); ++X) {
                const auto [x, y] = maps[o](X, Y);
                ASSERT_EQ(u[size_t(Y) * upright.GetWidth() + size_t(X)], s[size_t(y) * W + size_t(x)])
                    << "orientation " << int(o) << " at " << X << "," << Y;
            }
    }
}
