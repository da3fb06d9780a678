// Our files read by Pillow, and Pillow's files read by us.
#include <gtest/gtest.h>

#include "image/LbImageGIF.h"
#include "support/GifTestSupport.h"

using namespace giftest;

namespace {

#define REQUIRE_PILLOW() \
    if (!PillowAvailable()) GTEST_SKIP() << "python3 with PIL is not installed"

uint8_t Noise(uint32_t x, uint32_t y) { return uint8_t((x * 2654435761u ^ (y + 3) * 40503u) >> 9); }

}  // namespace

TEST(GifInterop, PillowReadsEveryMethod) {
    REQUIRE_PILLOW();
    struct Picture {
        const char* name;
        uint32_t w, h;
        std::function<uint8_t(uint32_t, uint32_t)> f;
    };
    const Picture pictures[] = {
        {"runs", 301, 97, [](uint32_t x, uint32_t y) { return uint8_t((x / (1 + y % 50)) * 37 + y / 9); }},
        {"noise", 129, 77, Noise},
        {"long runs", 1200, 900, [](uint32_t x, uint32_t y) { return uint8_t(x > 600) + uint8_t(y > 450); }},
        // A texture that fills the LZW table and keeps it, then noise that makes it clear.
        {"texture then noise", 800, 600,
         [](uint32_t x, uint32_t y) { return y < 300 ? uint8_t(x % 16 + (y % 8) * 16) : Noise(x, y); }},
    };
    struct Written {
        std::string what;
        uint32_t w, h;
        std::vector<uint8_t> rgb;
    };
    std::vector<Written> written;
    std::vector<Bytes> gifs;
    for (uint32_t bpp : {1u, 4u, 8u}) {
        for (const auto& p : pictures) {
            const uint32_t mask = (1u << bpp) - 1;
            const LbImage image = MakeIndexed(p.w, p.h, bpp, [&](uint32_t x, uint32_t y) { return uint8_t(p.f(x, y) & mask); });
            for (uint32_t method : {LB_GIF_RLE, LB_GIF_NONE, LB_GIF_LZW}) {
                written.push_back({std::string(p.name) + " bpp " + std::to_string(bpp) + " method " + std::to_string(method),
                                   p.w, p.h, Rgb(image)});
                gifs.push_back(EncodeGif(image, method));
            }
        }
    }
    const auto read = PillowDecodeAll(gifs);
    for (size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(written[i].what);
        ASSERT_TRUE(read[i].has_value());
        EXPECT_EQ(read[i]->frames, 1);
        ASSERT_EQ(read[i]->width, written[i].w);
        ASSERT_EQ(read[i]->height, written[i].h);
        EXPECT_TRUE(read[i]->rgb == written[i].rgb);
    }
}

TEST(GifInterop, PillowReadsTheMosaic) {
    REQUIRE_PILLOW();
    const LbImage image = MakeRgb(75, 47, [](uint32_t x, uint32_t y) {
        return LbRgbQuad{uint8_t(x * 3), uint8_t(y * 5), uint8_t(Noise(x, y) & 0xC0), 0};
    });
    const auto read = PillowDecodeAll({EncodeGif(image, LB_GIF_RLE), EncodeGif(image, LB_GIF_NONE), EncodeGif(image, LB_GIF_LZW)});
    for (const auto& pil : read) {
        ASSERT_TRUE(pil.has_value());
        EXPECT_EQ(pil->frames, 5 * 4);
        ASSERT_EQ(pil->width, 75u);
        ASSERT_EQ(pil->height, 47u);
        EXPECT_TRUE(pil->rgb == Rgb(image));
    }
}

TEST(GifInterop, WeReadPillowFiles) {
    REQUIRE_PILLOW();
    struct Case {
        uint32_t w, h, colours;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {64, 48, 256, {}},
        {64, 48, 256, {"interlace"}},
        {33, 19, 16, {}},
        {10, 7, 2, {}},
        {257, 131, 200, {"interlace", "transparency=3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " colours " + std::to_string(c.colours));
        std::vector<uint8_t> pixels(size_t(c.w) * c.h);
        for (uint32_t y = 0; y < c.h; ++y)
            for (uint32_t x = 0; x < c.w; ++x) pixels[y * c.w + x] = uint8_t((Noise(x, y) / 4 + x / 5) % c.colours);
        const auto palette = Table(c.colours);
        const auto gif = PillowEncode(c.w, c.h, palette, pixels, c.options);
        ASSERT_TRUE(gif.has_value());
        const Decoded d = DecodeGif(*gif);
        ASSERT_TRUE(d.ok);
        ASSERT_EQ(d.image.GetWidth(), c.w);
        ASSERT_EQ(d.image.GetHeight(), c.h);
        std::vector<uint8_t> expected;
        for (uint8_t p : pixels) expected.insert(expected.end(), {palette[p].red, palette[p].green, palette[p].blue});
        EXPECT_TRUE(Rgb(d.image) == expected);
        // And Pillow agrees with itself on what it wrote.
        const auto back = PillowDecode(*gif);
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(back->rgb == expected);
    }
}
