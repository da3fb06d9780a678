// lyrabox-cli convert and the picture part of info.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "cli/Convert.h"
#include "cli/PictureInfo.h"
#include "image/LbFormats.h"
#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

TEST(CliConvert, ConvertsByExtensionAndKeepsPixels) {
    LbImage picture = Pattern24(21, 11);
    const std::string in = TempPath("convert-in.bmp");
    ASSERT_TRUE(picture.Save(in, LB_FORMAT_BMP));
    for (const char* name : {"convert-out.png", "convert-out.BMP", "convert-out.raw", "convert-out.jpeg"}) {
        const std::string out = TempPath(name);
        std::filesystem::remove(out);
        EXPECT_EQ(cli::RunConvert({in, out, "--quality", "90"}), 0) << name;
        LbImage back;
        ASSERT_TRUE(back.Load(out, LbFormatOfName(out))) << name;
        if (LbFormatOfName(out) == LB_FORMAT_PNG || LbFormatOfName(out) == LB_FORMAT_BMP) {
            for (int y = 0; y < 11; ++y)
                for (int x = 0; x < 21; ++x) ASSERT_EQ(back.GetPixelColor(x, y), picture.GetPixelColor(x, y)) << name;
        }
    }
    // A palette picture stays at its own depth in a BMP.
    LbImage mono(9, 9, 1);
    mono.SetGrayPalette();
    mono.Clear(0x55);
    const std::string monoIn = TempPath("mono.png");
    ASSERT_TRUE(mono.Save(monoIn, LB_FORMAT_PNG));
    const std::string monoOut = TempPath("mono.bmp");
    ASSERT_EQ(cli::RunConvert({monoIn, monoOut}), 0);
    const Bytes bytes = ReadFile(monoOut);
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[28], 1);  // bits per pixel
}

// Each encoder choice of convert keeps every pixel, and the choices order the sizes
// as their names promise: the first value of a row gives the largest file.
TEST(CliConvert, EveryEncoderChoiceKeepsThePixels) {
    // A drawing-like 8-bit picture, where LZW beats the run-length default...
    LbImage drawing(300, 200, 8);
    drawing.SetGrayPalette();
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) drawing.SetPixelIndex(x, y, uint8_t((x / 7 + y / 5) * 3 + (x * y) % 3));
    // ...and grain over shading, as a photograph, where each PNG level shrinks the file.
    LbImage photo(400, 300, 24);
    uint32_t seed = 5;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const uint8_t grain = uint8_t(seed >> 29);
            photo.SetPixelColor(x, y, LbRgbQuad{uint8_t(x / 2 + grain), uint8_t(y / 2 + grain), uint8_t((x + y) / 4), 0});
        }
    const struct {
        const char* option;
        LbImage& picture;
        const char* extension;
        uint32_t format;
        std::vector<const char*> largestFirst;
    } rows[] = {
        {"--gif-method", drawing, ".gif", LB_FORMAT_GIF, {"plain", "rle", "lzw"}},
        {"--png-level", photo, ".png", LB_FORMAT_PNG, {"fast", "default", "small"}},
    };
    for (const auto& row : rows) {
        const std::string in = TempPath(std::string("choice") + row.extension + ".bmp");
        ASSERT_TRUE(row.picture.Save(in, LB_FORMAT_BMP));
        size_t previous = SIZE_MAX;
        for (const char* value : row.largestFirst) {
            const std::string out = TempPath(std::string("choice-") + value + row.extension);
            ASSERT_EQ(cli::RunConvert({in, out, row.option, value}), 0) << value;
            const size_t size = ReadFile(out).size();
            EXPECT_LT(size, previous) << value;
            previous = size;
            LbImage back;
            ASSERT_TRUE(back.Load(out, row.format)) << value;
            for (int y = 0; y < int(row.picture.GetHeight()); ++y)
                for (int x = 0; x < int(row.picture.GetWidth()); ++x)
                    ASSERT_EQ(back.GetPixelColor(x, y), row.picture.GetPixelColor(x, y)) << value << " " << x << "," << y;
        }
    }
}

TEST(CliConvert, UsageAndFailures) {
    const std::string in = TempPath("usage-in.bmp");
    ASSERT_TRUE(Pattern24(4, 4).Save(in, LB_FORMAT_BMP));
    const std::string out = TempPath("usage-out.png");
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{}, 2},
        {{in}, 2},
        {{in, out, "extra"}, 2},
        {{in, out, "--quality"}, 2},
        {{in, out, "--quality", "101"}, 2},
        {{in, out, "--quality", "7x"}, 2},
        {{in, out, "--frame", "-1"}, 2},
        {{in, out, "--gif-method"}, 2},
        {{in, out, "--gif-method", "LZW"}, 2},
        {{in, out, "--png-level"}, 2},
        {{in, out, "--png-level", "9"}, 2},
        {{in, out, "--size", "3"}, 2},
        {{in, TempPath("out.tiff")}, 2},
        {{TempPath("missing.bmp"), out}, 1},
        {{in, TempPath("no-folder/out.png")}, 1},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(out);
        EXPECT_EQ(cli::RunConvert(c.args), c.code) << (c.args.empty() ? "" : c.args.back());
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // An indexed colour picture cannot be a JPEG: the command fails and leaves no file.
    LbImage indexed(4, 4, 8);
    indexed.SetPaletteColor(1, 200, 0, 0);
    const std::string pal = TempPath("colour-palette.bmp");
    ASSERT_TRUE(indexed.Save(pal, LB_FORMAT_BMP));
    const std::string jpeg = TempPath("colour-palette.jpg");
    std::filesystem::remove(jpeg);
    EXPECT_EQ(cli::RunConvert({pal, jpeg}), 1);
    EXPECT_FALSE(std::filesystem::exists(jpeg));
}

TEST(CliInfo, DescribesPicturesAndDeclinesOtherFiles) {
    LbImage picture = Pattern24(30, 20);
    const std::string png = TempPath("info.png");
    ASSERT_TRUE(picture.Save(png, LB_FORMAT_PNG));
    std::string block;
    ASSERT_TRUE(cli::DescribePictureFile({png, png}, block));
    EXPECT_EQ(block, "  picture, PNG\n  width: 30\n  height: 20\n  bits per pixel: 24\n  frames: 1\n");

    const std::string disguised = TempPath("info-really-bmp.jpg");
    ASSERT_TRUE(picture.Save(disguised, LB_FORMAT_BMP));
    ASSERT_TRUE(cli::DescribePictureFile({disguised, disguised}, block));
    EXPECT_EQ(block.substr(0, 15), "  picture, BMP\n");

    const std::string text = TempPath("info.txt");
    WriteFile(text, Bytes{'h', 'i'});
    EXPECT_FALSE(cli::DescribePictureFile({text, text}, block));
    EXPECT_FALSE(cli::DescribePictureFile({TempPath("info-missing.png"), TempPath("info-missing.png")}, block));
    const std::string raw = TempPath("info.raw");
    WriteFile(raw, Bytes(1024, 0));
    ASSERT_TRUE(cli::DescribePictureFile({raw, raw}, block));
    EXPECT_NE(block.find("width: 128"), std::string::npos);
}

}  // namespace
