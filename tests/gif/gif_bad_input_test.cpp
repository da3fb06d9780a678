// Damaged and hostile files: a false result or a partial picture, never a crash,
// a read out of bounds or an endless loop (the sanitizer build checks the rest).
#include <gtest/gtest.h>

#include "image/LbFile.h"
#include "image/LbImageGIF.h"
#include "support/GifTestSupport.h"

using namespace giftest;

namespace {

Bytes Good() {
    std::vector<uint8_t> pixels(40 * 30);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i % 13);
    return GifBuilder()
        .Header(40, 30, Table(16))
        .Gce(0x05, 0, 3)
        .Image(0, 0, 40, 30, pixels, false, {}, 4)
        .Gce(0x04, 0, 0)
        .Image(5, 5, 10, 10, std::vector<uint8_t>(100, 2), true, Table(4), 2)
        .Trailer()
        .bytes();
}

Bytes WithRaster(const Bytes& raster) {
    return GifBuilder().Header(8, 8, Table(4)).Raw({0x2C, 0, 0, 0, 0, 8, 0, 8, 0, 0}).Raw(raster).Trailer().bytes();
}

}  // namespace

TEST(GifBadInput, EveryTruncationIsSafe) {
    const Bytes good = Good();
    for (int32_t frame : {0, 1}) {
        for (size_t n = 0; n < good.size(); ++n) {
            const Bytes cut(good.begin(), good.begin() + long(n));
            const Decoded d = DecodeGif(cut, frame);
            if (d.ok) {
                EXPECT_TRUE(d.image.IsValid());
            }
        }
    }
    // Without the trailer the file still decodes whole.
    const Bytes noTrailer(good.begin(), good.end() - 1);
    EXPECT_TRUE(DecodeGif(noTrailer, 1).ok);
}

TEST(GifBadInput, DamagedRasters) {
    struct Case {
        const char* name;
        Bytes raster;
        bool ok;
    };
    const Case cases[] = {
        {"code size 1", {1, 2, 0x44, 0x01, 0}, true},
        {"code size 12", {12, 2, 0xFF, 0xFF, 0}, false},
        {"codes beyond the table", {2, 4, 0x0C, 0xFF, 0xFF, 0xFF, 0}, true},
        {"no clear and only table codes", {2, 3, 0xFF, 0xFF, 0xFF, 0}, true},
        {"sub-block longer than the file", {2, 200, 0x04, 0x01}, true},
        {"no raster at all (the trailer read as code size 59)", {}, false},
        {"clears only", {2, 3, 0x24, 0x49, 0x92, 0}, true},
        {"end at once", {2, 1, 0x05, 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = DecodeGif(WithRaster(c.raster));
        EXPECT_EQ(d.ok, c.ok);
        if (d.ok) {
            EXPECT_EQ(d.image.GetWidth(), 8u);
        }
    }
}

TEST(GifBadInput, HostileStructures) {
    Bytes endless = GifBuilder().Header(4, 4, Table(2)).bytes();
    for (int i = 0; i < 20000; ++i) endless.insert(endless.end(), {0x21, 0x01, 0x01, 'x', 0x00});
    Bytes framesBeyond = GifBuilder().Header(4, 4, Table(2)).bytes();
    for (int i = 0; i < 1000; ++i) framesBeyond.insert(framesBeyond.end(), {0x2C, 0xFF, 0xFF, 0, 0, 1, 0, 1, 0, 0, 2, 1, 0, 0});
    struct Case {
        const char* name;
        Bytes bytes;
        bool emptyScreen = false;  // frames that show nothing: a wholly transparent screen
    };
    const Case cases[] = {
        {"endless extensions", endless},
        {"frames beyond the screen", framesBeyond, true},
        {"absurd screen, small frame, no table",
         GifBuilder().Header(65535, 65535).Image(0, 0, 3, 3, std::vector<uint8_t>(9, 1), false, Table(2), 2).Trailer().bytes()},
        {"absurd image with no data",
         GifBuilder().Header(65535, 65535, Table(2)).Raw({0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0}).Trailer().bytes()},
        {"zero-size image", GifBuilder().Header(4, 4, Table(2)).Raw({0x2C, 0, 0, 0, 0, 0, 0, 4, 0, 0, 2, 0}).Trailer().bytes(),
         true},
        {"bad graphic control size", GifBuilder().Header(4, 4, Table(2)).Raw({0x21, 0xF9, 0x05, 1, 2, 3, 4, 5, 0}).Trailer().bytes()},
        {"extension at the end", GifBuilder().Header(4, 4, Table(2)).Raw({0x21}).bytes()},
        {"truncated global table", Bytes{'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x87, 0, 0, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = DecodeGif(c.bytes);
        ASSERT_EQ(d.ok, c.emptyScreen);
        if (c.emptyScreen) {
            EXPECT_EQ(d.image.GetWidth(), 4u);
            EXPECT_EQ(d.image.AlphaGet(0, 0), 0);
            EXPECT_EQ(d.image.AlphaGet(3, 3), 0);
        }
    }
}

TEST(GifBadInput, FramesBeforeTheFailingExtensionStillCount) {
    const Bytes gif = GifBuilder()
                          .Header(2, 1, Table(2))
                          .Image(0, 0, 2, 1, {1, 0})
                          .Raw({0x21, 0xFF, 0x05, 'a', 'b', 'c', 'd', 'e', 0})  // application block of the wrong size
                          .Image(0, 0, 2, 1, {0, 1})
                          .Trailer()
                          .bytes();
    const Decoded first = DecodeGif(gif, 0);
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.frames, 1);
    EXPECT_FALSE(DecodeGif(gif, 1).ok);
}
