// Decoding: bit depths, interlace, frames, composition, extensions.
#include <gtest/gtest.h>

#include "image/LbFile.h"
#include "image/LbImageGIF.h"
#include "support/GifTestSupport.h"

using namespace giftest;

namespace {

std::vector<uint8_t> Pattern(uint32_t w, uint32_t h, uint32_t colours) {
    std::vector<uint8_t> p(size_t(w) * h);
    for (uint32_t i = 0; i < p.size(); ++i) p[i] = uint8_t((i * 7 + i / w) % colours);
    return p;
}

}  // namespace

TEST(GifDecode, TableSizeSetsBitsPerPixel) {
    struct Case {
        uint32_t entries;
        uint32_t bpp;
    };
    for (const Case c : {Case{2, 1}, Case{4, 4}, Case{16, 4}, Case{32, 8}, Case{256, 8}}) {
        SCOPED_TRACE(c.entries);
        const auto table = Table(c.entries);
        const auto pixels = Pattern(21, 5, c.entries);
        const auto gif = GifBuilder().Header(21, 5, table).Image(0, 0, 21, 5, pixels).Trailer().bytes();
        const Decoded d = DecodeGif(gif);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.image.GetBpp(), c.bpp);
        EXPECT_EQ(d.image.GetType(), uint32_t(LB_FORMAT_GIF));
        EXPECT_EQ(d.frames, 1);
        EXPECT_EQ(Indices(d.image), pixels);
        const LbRgbQuad last = d.image.GetPaletteColor(uint8_t(c.entries - 1));
        EXPECT_EQ(last.red, table.back().red);
        EXPECT_EQ(last.green, table.back().green);
        EXPECT_EQ(last.blue, table.back().blue);
    }
}

TEST(GifDecode, InterlacedTwinDecodesAlike) {
    for (uint32_t h : {1u, 2u, 3u, 4u, 5u, 8u, 9u, 17u, 30u}) {
        SCOPED_TRACE(h);
        const auto pixels = Pattern(13, h, 256);
        const auto plain = GifBuilder().Header(13, h, Table(256)).Image(0, 0, 13, h, pixels, false).Trailer().bytes();
        const auto laced = GifBuilder().Header(13, h, Table(256)).Image(0, 0, 13, h, pixels, true).Trailer().bytes();
        const Decoded a = DecodeGif(plain), b = DecodeGif(laced);
        ASSERT_TRUE(a.ok && b.ok);
        EXPECT_EQ(Indices(a.image), pixels);
        EXPECT_EQ(Indices(b.image), pixels);
    }
}

TEST(GifDecode, FrameBeyondTheFileFailsWithTheCount) {
    const auto gif = GifBuilder()
                         .Header(4, 4, Table(4))
                         .Image(0, 0, 4, 4, Pattern(4, 4, 4))
                         .Image(0, 0, 4, 4, std::vector<uint8_t>(16, 3))
                         .Trailer()
                         .bytes();
    for (int32_t frame : {2, 3, -1}) {
        const Decoded d = DecodeGif(gif, frame);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.frames, 2);
    }
    const Decoded second = DecodeGif(gif, 1);
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(Indices(second.image), std::vector<uint8_t>(16, 3));
}

TEST(GifDecode, FirstImageSmallerThanScreenWithoutGlobalTableGivesCanvas) {
    const auto table = Table(4);
    const auto gif = GifBuilder()
                         .Header(10, 8)
                         .Image(2, 3, 4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, false, table)
                         .Image(7, 0, 3, 1, {1, 1, 1}, false, table)
                         .Trailer()
                         .bytes();
    const Decoded d = DecodeGif(gif, 0);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.image.GetBpp(), 24u);
    EXPECT_EQ(d.image.GetWidth(), 10u);
    EXPECT_EQ(d.image.GetHeight(), 8u);
    auto at = [&](int x, int yTop) { return d.image.GetPixelColor(x, 7 - yTop); };
    EXPECT_EQ(at(2, 3).red, table[0].red);
    EXPECT_EQ(at(3, 3).green, table[1].green);
    EXPECT_EQ(at(2, 4).blue, table[3].blue);
    EXPECT_EQ(at(8, 0).green, table[1].green);  // the second frame is drawn as well
    EXPECT_EQ(at(0, 0), LbRgbQuad{});            // outside every frame: black
    EXPECT_FALSE(d.image.IsTransparent());
}

TEST(GifDecode, CanvasTakesTheTransparentColour) {
    const auto table = Table(4);
    const auto gif = GifBuilder()
                         .Header(10, 8)
                         .Gce(0x01, 0, 2)
                         .Image(0, 0, 4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, false, table)
                         .Trailer()
                         .bytes();
    const Decoded d = DecodeGif(gif);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.image.GetBpp(), 24u);
    // Transparent where index 2 lies and where no frame drew; opaque elsewhere.
    ASSERT_TRUE(d.image.AlphaIsValid());
    auto alpha = [&](int x, int yTop) { return d.image.AlphaGet(x, 7 - yTop); };
    EXPECT_EQ(alpha(2, 0), 0);
    EXPECT_EQ(alpha(1, 1), 0);
    EXPECT_EQ(alpha(5, 5), 0);
    EXPECT_EQ(alpha(0, 0), 255);
    EXPECT_EQ(alpha(3, 0), 255);
}

TEST(GifDecode, LeaveInPlaceDrawsOverThePreviousFrame) {
    const std::vector<uint8_t> back(6 * 4, 1);
    auto twoFrames = [&](uint8_t gceFlags) {
        return GifBuilder()
            .Header(6, 4, Table(8))
            .Image(0, 0, 6, 4, back)
            .Gce(gceFlags, 10, 7)
            .Image(2, 1, 2, 2, {7, 4, 5, 7})
            .Trailer()
            .bytes();
    };
    const Decoded d = DecodeGif(twoFrames(0x05), 1);  // leave in place, transparent index 7
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.image.GetWidth(), 6u);
    std::vector<uint8_t> expected = back;
    expected[1 * 6 + 3] = 4;
    expected[2 * 6 + 2] = 5;
    EXPECT_EQ(Indices(d.image), expected);
    EXPECT_EQ(d.image.GetTransIndex(), -1);  // the first image's
    EXPECT_EQ(d.image.GetFrameDelay(), 10u);

    // Without a disposal method or transparency the frame is still drawn over the
    // picture, whole, as viewers show it.
    const Decoded e = DecodeGif(twoFrames(0x00), 1);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.image.GetWidth(), 6u);
    expected[1 * 6 + 2] = 7;
    expected[2 * 6 + 3] = 7;
    EXPECT_EQ(Indices(e.image), expected);
}

TEST(GifDecode, TransparencyFillsTheRestOfThePaletteWithWhite) {
    const auto gif = GifBuilder().Header(3, 1, Table(32)).Gce(0x01, 0, 5).Image(0, 0, 3, 1, {0, 5, 31}).Trailer().bytes();
    const Decoded d = DecodeGif(gif);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.image.GetTransIndex(), 5);
    EXPECT_EQ(d.image.GetNumColors(), 256u);
    EXPECT_EQ(d.image.GetPaletteColor(200), (LbRgbQuad{255, 255, 255, 0}));
    EXPECT_EQ(d.image.GetPaletteColor(31).red, 31);
}

TEST(GifDecode, ExtensionsAreRead) {
    const auto gif = GifBuilder()
                         .Header(2, 1, Table(2))
                         .Loops(7)
                         .Comment("made by hand")
                         .Raw({0x21, 0x01, 0x03, 'a', 'b', 'c', 0x00})  // plain text: skipped
                         .Gce(0x08, 25, 0)
                         .Image(0, 0, 2, 1, {1, 0})
                         .Trailer()
                         .bytes();
    LbImageGIF codec;
    LbMemFile file(gif.data(), gif.size());
    ASSERT_TRUE(codec.Decode(&file));
    EXPECT_EQ(codec.GetLoops(), 7);
    EXPECT_STREQ(codec.GetComment(), "made by hand");
    EXPECT_EQ(codec.GetDisposalMethod(), 2);
    EXPECT_EQ(codec.GetFrameDelay(), 25u);
    EXPECT_FALSE(codec.IsTransparent());
}

TEST(GifDecode, ImagesPartlyOutsideTheScreenAreClipped) {
    const auto table = Table(4);
    const auto gif = GifBuilder()
                         .Header(4, 4, table)
                         .Image(2, 2, 4, 4, std::vector<uint8_t>(16, 2), false, Table(4))  // beyond the screen
                         .Image(0, 0, 4, 4, std::vector<uint8_t>(16, 3))
                         .Trailer()
                         .bytes();
    const Decoded d = DecodeGif(gif);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.frames, 2);
    ASSERT_EQ(d.image.GetWidth(), 4u);
    EXPECT_EQ(d.image.GetPixelColor(3, 0), (LbRgbQuad{table[2].blue, table[2].green, table[2].red, 0}));
    EXPECT_EQ(d.image.AlphaGet(3, 0), 255);  // the visible corner of the frame
    EXPECT_EQ(d.image.AlphaGet(1, 3), 0);    // outside it
    const Decoded second = DecodeGif(gif, 1);
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(Indices(second.image), std::vector<uint8_t>(16, 3));
}

TEST(GifDecode, StreamContinuesAfterTheDecodedFrame) {
    const auto gif = GifBuilder().Header(2, 2, Table(2)).Image(0, 0, 2, 2, {0, 1, 1, 0}).Trailer().bytes();
    LbImageGIF codec;
    LbMemFile file(gif.data(), gif.size());
    ASSERT_TRUE(codec.Decode(&file));
    EXPECT_EQ(file.Tell(), int64_t(gif.size() - 1));  // the trailer is next
}

TEST(GifDecode, NotAGif) {
    for (const Bytes& bytes : {Bytes{}, Bytes{'G', 'I', 'F'}, Bytes{'P', 'N', 'G', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}}) {
        EXPECT_FALSE(DecodeGif(bytes).ok);
    }
}

TEST(GifDecode, EscapeCancels) {
    const auto gif = GifBuilder().Header(8, 8, Table(4)).Image(0, 0, 8, 8, Pattern(8, 8, 4)).Trailer().bytes();
    LbImageGIF codec;
    codec.SetEscape(1);
    LbMemFile file(gif.data(), gif.size());
    EXPECT_FALSE(codec.Decode(&file));
    EXPECT_STREQ(codec.GetLastError(), "Cancelled");
}
