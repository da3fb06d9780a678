// The device logo file: header, 5-5-5 pixels, palette logos, damaged input.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/LbImage.h"
#include "logo/DeviceLogoFile.h"
#include "logo/LogoPipeline.h"
#include "logo/PictureCheck.h"
#include "logo/support/LogoFiles.h"
#include "platform/Services.h"

namespace {

// The file as the device expects it, worked out independently from the colours.
std::string ExpectedDeviceFile(const PixelFn& pixel) {
    std::string header = Bmp24(96, 96, pixel).substr(0, 54);
    header[28] = 16;
    std::string pixels(27648, '\0');
    for (int row = 0; row < 96; ++row)
        for (int x = 0; x < 96; ++x) {
            Rgb c = pixel(x, 95 - row);
            uint16_t v = uint16_t((c.r / 8) * 1024 + (c.g / 8) * 32 + c.b / 8);
            pixels[size_t(row * 96 + x) * 2] = char(v & 0xFF);
            pixels[size_t(row * 96 + x) * 2 + 1] = char(v >> 8);
        }
    // The library writes 96 dpi whatever the picture had.
    header[38] = char(3780 & 0xFF), header[39] = char(3780 >> 8);
    header[42] = char(3780 & 0xFF), header[43] = char(3780 >> 8);
    return header + pixels;
}

LbImage Logo24(const PixelFn& pixel) {
    LbImage logo(96, 96, 24, 1);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
            Rgb c = pixel(x, y);
            logo.SetPixelColor(x, 95 - y, LbRGB(c.r, c.g, c.b));
        }
    return logo;
}

TEST(Rgb555, ChannelsLoseTheirLowThreeBits) {
    struct Case {
        Rgb colour;
        uint16_t value;
    } cases[] = {
        {{255, 255, 255}, 0x7FFF}, {{255, 0, 0}, 0x7C00}, {{0, 255, 0}, 0x03E0},
        {{0, 0, 255}, 0x001F},     {{7, 7, 7}, 0x0000},   {{8, 16, 24}, (1 << 10) | (2 << 5) | 3},
    };
    for (const Case& c : cases) EXPECT_EQ(logo::Rgb555(c.colour.r, c.colour.g, c.colour.b), c.value);
}

TEST(DeviceLogoFile, SavedBmpIsThe16BitDeviceFile) {
    platform::ScriptedServices ui;
    std::string path = ScratchDir() + "/logo.bmp";
    LbImage logo = Logo24(Pattern);
    logo::LogoWrite w = logo::WriteLogoFile(logo, path, 1);
    EXPECT_TRUE(w.written);
    EXPECT_EQ(w.message, "");
    std::string file = ReadFile(path);
    ASSERT_EQ(file.size(), 27702u);
    EXPECT_EQ(file[28], 16);
    EXPECT_EQ(Le32(file, 2), 27702u);
    EXPECT_EQ(Le32(file, 34), 27648u);
    EXPECT_EQ(Le16(file, 54), logo::Rgb555(Pattern(0, 95).r, Pattern(0, 95).g, Pattern(0, 95).b))
        << "the first pixel is the bottom-left one";
    EXPECT_EQ(file, ExpectedDeviceFile(Pattern));
    EXPECT_EQ(file.find_first_not_of('\0', 54 + 18432), std::string::npos) << "the filler is zero";
}

TEST(DeviceLogoFile, PaletteLogosGiveTheFileOfTheirColours) {
    platform::ScriptedServices ui;
    std::string dir = ScratchDir();
    auto blackWhite = [](int x, int y) { return (x + y) % 3 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; };

    // A dithered logo: 1 bit per pixel, black 0x0000 and white 0x7FFF.
    LbImage dithered = Logo24(blackWhite);
    ASSERT_TRUE(dithered.Dither(0));
    ASSERT_EQ(dithered.GetBpp(), 1u);
    ASSERT_TRUE(logo::WriteLogoFile(dithered, dir + "/d.bmp", 1).written);
    std::string file = ReadFile(dir + "/d.bmp");
    EXPECT_EQ(file, ExpectedDeviceFile(blackWhite));
    EXPECT_EQ(Le16(file, 54), 0x7FFF);      // bottom-left (0, 95) is white
    EXPECT_EQ(Le16(file, 54 + 2), 0x0000);  // (1, 95) is black

    // 4 and 8 bits: written through the palette.
    for (uint32_t bpp : {4u, 8u}) {
        LbImage indexed(96, 96, bpp, 1);
        for (uint32_t i = 0; i < indexed.GetNumColors(); ++i)
            indexed.SetPaletteColor(uint8_t(i), uint8_t(i * 16), uint8_t(255 - i), uint8_t(i * 3));
        auto colourOf = [&](int x, int y) {
            uint8_t i = uint8_t((x * 3 + y) % indexed.GetNumColors());
            return Rgb{uint8_t(i * 16), uint8_t(255 - i), uint8_t(i * 3)};
        };
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x)
                indexed.SetPixelIndex(x, 95 - y, uint8_t((x * 3 + y) % indexed.GetNumColors()));
        std::string path = dir + "/p" + std::to_string(bpp) + ".bmp";
        ASSERT_TRUE(logo::WriteLogoFile(indexed, path, 1).written);
        EXPECT_EQ(ReadFile(path), ExpectedDeviceFile(colourOf)) << bpp << " bits per pixel";
    }
}

TEST(DeviceLogoFile, OtherFormatsAreWrittenAsTheyAreWithoutComplaint) {
    platform::ScriptedServices ui;
    std::string dir = ScratchDir();
    struct Case {
        const char* name;
        int type;
        std::string magic;
    } cases[] = {{"logo.jpg", 3, "\xFF\xD8"}, {"logo.png", 4, "\x89PNG"}, {"logo.gif", 2, "GIF8"}};
    for (bool dither : {false, true}) {
        for (const Case& c : cases) {
            LbImage logo = Logo24(Pattern);
            if (dither) {
                ASSERT_TRUE(logo.Dither(0));
            }
            logo::LogoWrite w = logo::WriteLogoFile(logo, dir + "/" + c.name, c.type);
            EXPECT_TRUE(w.written) << c.name << " dither " << dither;
            EXPECT_EQ(w.message, "") << c.name << " dither " << dither;
            LbImage back(dir + "/" + c.name, uint32_t(c.type));
            EXPECT_EQ(ReadFile(dir + "/" + c.name).substr(0, c.magic.size()), c.magic) << c.name;
            EXPECT_EQ(back.GetWidth(), 96u) << c.name;
        }
    }
}

TEST(DeviceLogoFile, FailedWriteLeavesTheOldFile) {
    platform::ScriptedServices ui;
    std::string dir = ScratchDir();
    LbImage logo = Logo24(Pattern);
    logo::LogoWrite w = logo::WriteLogoFile(logo, dir + "/missing/logo.bmp", 1);
    EXPECT_FALSE(w.written);
    EXPECT_EQ(w.message, "File Create Fail");

    LbImage empty;
    w = logo::WriteLogoFile(empty, dir + "/logo.bmp", 1);
    EXPECT_FALSE(w.written);
    EXPECT_EQ(w.message, "null image!!!");
    EXPECT_FALSE(std::filesystem::exists(dir + "/logo.bmp"));
}

// Damaged or unusual BMPs: refused without reading past the bytes given (the sanitizer
// build checks the reads).
TEST(DeviceLogoFile, RewriteRefusesWhatItCannotConvert) {
    const std::string good = Bmp24(5, 3, Pattern);
    auto with = [&](size_t at, uint8_t v) {
        std::string b = good;
        b[at] = char(v);
        return b;
    };
    struct Case {
        const char* what;
        std::string bytes;
        logo::Rewrite expected;
    } cases[] = {
        {"empty", "", logo::Rewrite::NotBmp},
        {"one byte", "B", logo::Rewrite::NotBmp},
        {"JPEG", "\xFF\xD8\xFF\xE0", logo::Rewrite::NotBmp},
        {"headers cut", good.substr(0, 40), logo::Rewrite::Unsupported},
        {"last row cut", good.substr(0, good.size() - 1), logo::Rewrite::Unsupported},
        {"compressed", with(30, 1), logo::Rewrite::Unsupported},
        {"16 bits", with(28, 16), logo::Rewrite::Unsupported},
        {"zero width", with(18, 0), logo::Rewrite::Unsupported},
        {"data offset past the end", with(12, 0x10), logo::Rewrite::Unsupported},
        {"8 bits without its palette", with(28, 8), logo::Rewrite::Unsupported},
        {"whole", good, logo::Rewrite::Done},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(logo::RewriteBmpTo16Bit(c.bytes, out), c.expected) << c.what;
    }
}

TEST(ConvertTo16BitBmp, FileInPlace) {
    platform::ScriptedServices ui;
    std::string dir = ScratchDir();
    WriteFile(dir + "/a.bmp", Bmp24(96, 96, Pattern));
    EXPECT_TRUE(ConvertTo16BitBmp(dir + "/a.bmp"));
    std::string file = ReadFile(dir + "/a.bmp");
    EXPECT_EQ(file.size(), 27702u);
    EXPECT_EQ(file.substr(54), ExpectedDeviceFile(Pattern).substr(54));

    WriteFile(dir + "/b.jpg", "\xFF\xD8\xFF\xE0 not a bmp");
    EXPECT_FALSE(ConvertTo16BitBmp(dir + "/b.jpg"));
    EXPECT_EQ(ReadFile(dir + "/b.jpg"), "\xFF\xD8\xFF\xE0 not a bmp");
    EXPECT_FALSE(ConvertTo16BitBmp(dir + "/none.bmp"));
    EXPECT_EQ(ui.prompts.Texts(), (std::vector<std::string>{"Not BMP file!!", "File Read Fail"}));
}

}  // namespace
