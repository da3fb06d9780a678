// Frames as viewers show them: drawn on the logical screen at their offsets, clipped
// to it, over what the frames before leave; wide LZW code sizes; refusals that name
// the frame.
#include <gtest/gtest.h>

#include "image/LbFile.h"
#include "image/LbImageGIF.h"
#include "support/GifTestSupport.h"

using namespace giftest;

namespace {

constexpr int T = -1;  // a transparent pixel of the screen

// The screen rows from the top: an index of Table(4), or T.
void ExpectScreen(const LbImage& image, uint32_t w, const std::vector<int>& want) {
    const auto table = Table(4);
    const uint32_t h = uint32_t(want.size() / w);
    ASSERT_EQ(image.GetWidth(), w);
    ASSERT_EQ(image.GetHeight(), h);
    for (uint32_t i = 0; i < want.size(); ++i) {
        const int32_t x = int32_t(i % w), y = int32_t(h - 1 - i / w);
        const bool opaque = !image.AlphaIsValid() || image.AlphaGet(x, y) == 255;
        EXPECT_EQ(opaque, want[i] != T) << "pixel " << i;
        if (want[i] == T || !opaque) continue;
        const LbRgbTriple c = table[size_t(want[i])];
        EXPECT_EQ(image.GetPixelColor(x, y), (LbRgbQuad{c.blue, c.green, c.red, 0})) << "pixel " << i;
    }
}

}  // namespace

// Each row draws its frame on the screen, or is refused with a message naming the
// frame and what is wrong.
TEST(GifScreen, FramesAreDrawnOnTheScreenAsViewersShowThemOrRefused) {
    const auto g = Table(4);
    const std::vector<uint8_t> zeros(4, 0);
    struct Case {
        const char* name;
        Bytes gif;
        int32_t frame;
        uint32_t width;
        std::vector<int> want;
        const char* says = nullptr;  // the refusal, for a file that does not decode
    };
    const Case cases[] = {
        {"first frame offset in the screen", GifBuilder().Header(3, 2, g).Image(1, 0, 2, 2, {1, 2, 3, 1}).Trailer().bytes(),
         0, 3, {T, 1, 2, T, 3, 1}},
        {"a 1x1 frame on a 2x2 screen without a global table",
         GifBuilder().Header(2, 2).Image(0, 0, 1, 1, {2}, false, g).Trailer().bytes(), 0, 2, {2, T, T, T}},
        {"a frame reaching past the screen is clipped",
         GifBuilder().Header(2, 2, g).Image(1, 1, 2, 2, {1, 2, 3, 0}).Trailer().bytes(), 0, 2, {T, T, T, 1}},
        {"a second frame over the first",
         GifBuilder().Header(2, 2, g).Image(0, 0, 2, 2, zeros).Image(1, 0, 1, 2, {3, 3}).Trailer().bytes(), 1, 2,
         {0, 3, 0, 3}},
        {"a second frame with its own table over the first",
         GifBuilder().Header(2, 2, g).Image(0, 0, 2, 2, zeros).Image(1, 1, 1, 1, {3}, false, Table(8)).Trailer().bytes(),
         1, 2, {0, 0, 0, 3}},
        {"restore to background clears the frame's rectangle",
         GifBuilder().Header(2, 2, g).Gce(0x08, 0, 0).Image(0, 0, 1, 1, {1}).Image(1, 1, 1, 1, {2}).Trailer().bytes(), 1,
         2, {T, T, T, 2}},
        {"restore to previous brings back the screen before the frame",
         GifBuilder().Header(2, 2, g).Image(0, 0, 2, 2, zeros).Gce(0x0C, 0, 0).Image(0, 0, 1, 1, {1})
             .Image(1, 1, 1, 1, {2}).Trailer().bytes(),
         2, 2, {0, 0, 0, 2}},
        {"transparent pixels show the frame below",
         GifBuilder().Header(2, 1, g).Image(0, 0, 2, 1, {1, 1}).Gce(0x05, 0, 3).Image(0, 0, 2, 1, {3, 2}).Trailer().bytes(),
         1, 2, {1, 2}},
        {"code size 9", GifBuilder().Header(3, 1, g).Image(0, 0, 3, 1, {1, 2, 3}, false, {}, 9).Trailer().bytes(), 0, 3,
         {1, 2, 3}},
        {"code size 10", GifBuilder().Header(3, 1, g).Image(0, 0, 3, 1, {3, 2, 1}, false, {}, 10).Trailer().bytes(), 0, 3,
         {3, 2, 1}},
        {"code size 11", GifBuilder().Header(3, 1, g).Image(0, 0, 3, 1, {2, 2, 3}, false, {}, 11).Trailer().bytes(), 0, 3,
         {2, 2, 3}},
        {"code size 12", GifBuilder().Header(3, 1, g).Image(0, 0, 3, 1, {1, 2, 3}, false, {}, 12).Trailer().bytes(), 0, 0,
         {}, "GIF: frame 0: LZW code size 12 is over 11"},
        {"code size 0",
         GifBuilder().Header(1, 1, g).Image(0, 0, 1, 1, {1}).Raw({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0}).Trailer().bytes(),
         1, 0, {}, "GIF: frame 1: LZW code size 0 is under 1"},
        {"a frame past the last", GifBuilder().Header(1, 1, g).Image(0, 0, 1, 1, {1}).Trailer().bytes(), 3, 0, {},
         "GIF: frame 3 is not in the file (frames 0 to 0)"},
        {"no header", Bytes{'G', 'I', 'F'}, 0, 0, {}, "GIF: no GIF header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = DecodeGif(c.gif, c.frame);
        if (c.says) {
            EXPECT_FALSE(d.ok);
            EXPECT_STREQ(d.image.GetLastError(), c.says);
            continue;
        }
        ASSERT_TRUE(d.ok) << d.image.GetLastError();
        ExpectScreen(d.image, c.width, c.want);
        // The frames counted as the decoder counts them.
        LbMemFile file(c.gif.data(), c.gif.size());
        EXPECT_EQ(LbImageGIF::CountFrames(&file), d.frames);
    }
}
