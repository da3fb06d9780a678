// The GIF decoder under the resource budget: what the budget allows decodes, damaged
// or missing rasters included, and what it refuses names the limit.
#include <gtest/gtest.h>

#include <string>

#include "image/LbBudget.h"
#include "support/GifTestSupport.h"

using namespace giftest;

namespace {

// Three 4x4 frames left in place, each drawing its own 2x2 corner in index 1..3 with
// index 0 transparent: the picture keeps every earlier corner.
Bytes CornerFrames() {
    GifBuilder b;
    b.Header(4, 4, Table(4)).Gce(0x05, 0, 0).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 0));
    const uint32_t corners[3][2] = {{0, 0}, {2, 0}, {0, 2}};
    for (uint8_t i = 0; i < 3; ++i)
        b.Gce(0x05, 0, 0).Image(corners[i][0], corners[i][1], 2, 2, std::vector<uint8_t>(4, uint8_t(i + 1)));
    return b.Trailer().bytes();
}

}  // namespace

TEST(GifBudget, WhatTheBudgetAllowsDecodesAndRefusalsNameTheLimit) {
    LbLimits small;
    small.pixels = 100;
    small.frames = 3;
    struct Case {
        const char* name;
        Bytes gif;
        int32_t frame;
        LbLimits limits;
        bool ok;
        uint32_t width, height, bpp;
        const char* says;  // part of the refusal
    } cases[] = {
        {"small first image on a large screen without a global table",
         GifBuilder().Header(1000, 1000).Image(0, 0, 10, 10, std::vector<uint8_t>(100, 1), false, Table(2), 2).Trailer().bytes(),
         0, LbLimits{}, true, 1000, 1000, 24, ""},
        {"a large frame without any data is drawn as far as it goes",
         GifBuilder().Header(1000, 1000, Table(2)).Raw({0x2C, 0, 0, 0, 0, 0xE8, 0x03, 0xE8, 0x03, 0, 2, 0}).Trailer().bytes(),
         0, LbLimits{}, true, 1000, 1000, 1, ""},
        {"frames left in place are drawn into the picture", CornerFrames(), 3, LbLimits{}, true, 4, 4, 4, ""},
        {"a picture over the pixel limit",
         GifBuilder().Header(11, 10, Table(2)).Image(0, 0, 11, 10, std::vector<uint8_t>(110, 1)).Trailer().bytes(), 0,
         small, false, 0, 0, 0, "pixel limit of 100 pixels"},
        {"more frames than the frame limit", CornerFrames(), 0, small, false, 0, 0, 0, "limit of 3 frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LbJob job(c.limits);
        const Decoded d = DecodeGif(c.gif, c.frame);
        ASSERT_EQ(d.ok, c.ok) << d.image.GetLastError();
        if (!c.ok) {
            EXPECT_NE(std::string(d.image.GetLastError()).find(c.says), std::string::npos) << d.image.GetLastError();
            continue;
        }
        EXPECT_EQ(d.image.GetWidth(), c.width);
        EXPECT_EQ(d.image.GetHeight(), c.height);
        EXPECT_EQ(d.image.GetBpp(), c.bpp);
    }
    // The corners, top-down: index 1 top left, 2 top right, 3 bottom left, 0 elsewhere.
    const Decoded corners = DecodeGif(CornerFrames(), 3);
    const uint8_t want[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 0, 0}, {3, 3, 0, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(corners.image.GetPixelIndex(x, 3 - y), want[y][x]) << x << "," << y;
}
