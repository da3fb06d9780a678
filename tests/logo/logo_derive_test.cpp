// Deriving the working logo: it equals the library's crop and nearest resample taken
// one by one, and the command line's region reading equals reading the whole picture.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "image/LbImage.h"
#include "logo/LogoFromFile.h"
#include "logo/LogoPipeline.h"
#include "logo/support/LogoFiles.h"

namespace {

LbImage Picture(int w, int h, uint32_t bpp = 24) {
    LbImage image(uint32_t(w), uint32_t(h), bpp, 1);
    if (bpp <= 8)
        for (uint32_t i = 0; i < image.GetNumColors(); ++i)
            image.SetPaletteColor(uint8_t(i), uint8_t(i * 3), uint8_t(255 - i), uint8_t(i / 2));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bpp <= 8) {
                image.SetPixelIndex(x, y, uint8_t((x * 5 + y) % image.GetNumColors()));
            } else {
                Rgb c = Pattern(x, y);
                image.SetPixelColor(x, y, LbRGB(c.r, c.g, c.b));
            }
        }
    return image;
}

bool SameImage(const LbImage& a, const LbImage& b) {
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() && a.GetBpp() == b.GetBpp() &&
           a.GetType() == b.GetType() && a.GetTransIndex() == b.GetTransIndex() && a.GetSize() == b.GetSize() &&
           std::memcmp(a.GetDIB(), b.GetDIB(), a.GetSize()) == 0;
}

// The library's own steps, as the logo view would take them one by one.
bool LibraryLogo(LbImage& source, const logo::Rect& s, bool dither, LbImage& logo) {
    if (!source.Crop(s.left, s.top, s.right, s.bottom, &logo)) return false;
    logo.Resample(96, 96, 1);
    if (dither) logo.Dither(0);
    return true;
}

TEST(DeriveLogo, EqualsCropThenNearestResample) {
    std::mt19937 random(7);
    auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (uint32_t bpp : {24u, 8u, 4u, 1u}) {
        for (int round = 0; round < 60; ++round) {
            const int w = between(1, 400), h = between(1, 300);
            LbImage source = Picture(w, h, bpp);
            logo::Rect s{between(-20, w + 20), between(-20, h + 20), between(-20, w + 20), between(-20, h + 20)};
            if (round % 5 == 0) s = {between(0, w), between(0, h), 0, 0}, s.right = s.left + 96, s.bottom = s.top + 96;
            const bool dither = round % 4 == 0;
            LbImage expected = Picture(96, 96), actual = expected;
            const bool cut = LibraryLogo(source, s, dither, expected);
            ASSERT_EQ(logo::DeriveLogo(source, s, dither, actual), cut) << w << "x" << h;
            EXPECT_TRUE(SameImage(expected, actual))
                << bpp << " bpp, " << w << "x" << h << " (" << s.left << "," << s.top << ")-(" << s.right << ","
                << s.bottom << ")";
        }
    }
}

TEST(DeriveLogo, EmptySelectionKeepsTheLogo) {
    LbImage source = Picture(100, 100);
    LbImage logo = Picture(96, 96);
    const LbImage before = logo;
    for (logo::Rect s : {logo::Rect{10, 10, 10, 50}, logo::Rect{200, 0, 300, 50}, logo::Rect{0, -50, 50, -1}})
        EXPECT_FALSE(logo::DeriveLogo(source, s, false, logo));
    EXPECT_TRUE(SameImage(before, logo));
}

TEST(MakeLogoFromFile, RegionReadingEqualsWholePicture) {
    const std::string dir = ScratchDir();
    std::mt19937 random(11);
    auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const logo::PictureCommand all[] = {logo::PictureCommand::RotateLeft, logo::PictureCommand::RotateRight,
                                        logo::PictureCommand::FlipHorizontal, logo::PictureCommand::FlipVertical};
    for (int round = 0; round < 40; ++round) {
        const int w = between(1, 300), h = between(1, 250);
        const std::string path = dir + "/p" + std::to_string(round) + (round % 3 ? ".bmp" : ".jpg");
        WriteFile(path, Bmp24(w, h, Pattern, round % 2 == 1));
        logo::LogoJob job;
        job.picture = path;
        if (round % 4) job.selection = logo::Rect{between(-10, w + 10), between(-10, h + 10), between(-10, w + 10),
                                                  between(-10, h + 10)};
        for (int n = between(0, 3); n > 0; --n) job.commands.push_back(all[between(0, 3)]);
        job.dither = round % 5 == 0;
        LbImage fromRegion, fromWhole;
        std::string e1, e2;
        const logo::LogoJobResult r1 = logo::MakeLogoFromFile(job, fromRegion, e1, false);
        const logo::LogoJobResult r2 = logo::MakeLogoFromFile(job, fromWhole, e2, true);
        ASSERT_EQ(r1, r2) << path;
        if (r1 == logo::LogoJobResult::Done) {
            EXPECT_TRUE(SameImage(fromRegion, fromWhole)) << path;
        }
    }
}

TEST(MakeLogoFromFile, Refusals) {
    const std::string dir = ScratchDir();
    std::string bmp = Bmp24(40, 30, Pattern);
    WriteFile(dir + "/cut.bmp", bmp.substr(0, bmp.size() / 2));
    WriteFile(dir + "/ok.bmp", bmp);
    LbImage logo;
    std::string error;
    logo::LogoJob job{dir + "/none.bmp", {}, {}, false};
    EXPECT_EQ(logo::MakeLogoFromFile(job, logo, error), logo::LogoJobResult::Unreadable);
    job.picture = dir;  // a folder
    EXPECT_EQ(logo::MakeLogoFromFile(job, logo, error), logo::LogoJobResult::Unreadable);
    EXPECT_EQ(error, "is not a file");
    // A BMP with missing rows is refused with the decoder's reason, never read as the
    // raw strips (which take any bytes).
    job.picture = dir + "/cut.bmp";
    EXPECT_EQ(logo::MakeLogoFromFile(job, logo, error), logo::LogoJobResult::Unreadable);
    EXPECT_EQ(error, "it is not a picture this program reads (Error reading BMP data)");
    job.picture = dir + "/ok.bmp";
    job.selection = logo::Rect{50, 0, 60, 10};
    EXPECT_EQ(logo::MakeLogoFromFile(job, logo, error), logo::LogoJobResult::EmptySelection);
}

}  // namespace
