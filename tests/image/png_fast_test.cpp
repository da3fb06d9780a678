// The quick PNG road (8-bit RGB and RGBA) against libpng's road, which a stream
// without a position forces: every file, good or damaged, must decode to the same
// picture, or fail with the same message, on both.
#include <gtest/gtest.h>
#include <png.h>

#include <string>

#include "image/LbFile.h"
#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

// A memory stream that cannot tell its position: the codec then reads through libpng.
class UnplacedStream : public LbMemFile {
public:
    UnplacedStream(const uint8_t* data, size_t size) : LbMemFile(data, size) {}
    int64_t Tell() override { return -1; }
};

void ExpectSameDecode(const Bytes& png, const std::string& what) {
    LbImage quick, reference;
    LbMemFile a(png.data(), png.size());
    UnplacedStream b(png.data(), png.size());
    const bool okQuick = quick.Decode(&a, LB_FORMAT_PNG);
    const bool okReference = reference.Decode(&b, LB_FORMAT_PNG);
    ASSERT_EQ(okQuick, okReference) << what << ": " << quick.GetLastError() << " / " << reference.GetLastError();
    if (!okQuick) {
        EXPECT_STREQ(quick.GetLastError(), reference.GetLastError()) << what;
        return;
    }
    ASSERT_EQ(quick.GetWidth(), reference.GetWidth()) << what;
    ASSERT_EQ(quick.GetHeight(), reference.GetHeight()) << what;
    ASSERT_EQ(quick.GetBpp(), reference.GetBpp()) << what;
    EXPECT_EQ(quick.GetTransColor(), reference.GetTransColor()) << what;
    EXPECT_EQ(quick.GetTransIndex(), reference.GetTransIndex()) << what;
    EXPECT_EQ(quick.GetXDPI(), reference.GetXDPI()) << what;
    EXPECT_EQ(quick.GetYDPI(), reference.GetYDPI()) << what;
    for (uint32_t y = 0; y < quick.GetHeight(); ++y)
        for (uint32_t x = 0; x < quick.GetWidth(); ++x)
            ASSERT_EQ(quick.GetPixelColor(int32_t(x), int32_t(y)), reference.GetPixelColor(int32_t(x), int32_t(y)))
                << what << " at " << x << "," << y;
}

PngLayout Picture(uint32_t w, uint32_t h, int colourType, uint32_t seed) {
    PngLayout s{w, h, 8, colourType, false, {}, {}, {}};
    const uint32_t channels = colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 3;
    for (uint32_t y = 0; y < h; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t i = 0; i < w * channels; ++i) {
            seed = seed * 1103515245u + 12345u;
            row.push_back(uint8_t(i * 5 + y * 3 + ((seed >> 16) & 15)));  // smooth with grain
        }
        s.rows.push_back(row);
    }
    return s;
}

TEST(PngQuickRoad, EveryFilterAndShapeDecodesAsLibpngDoesAndRight) {
    const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH, PNG_ALL_FILTERS};
    for (int colour : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA})
        for (uint32_t w : {1u, 3u, 64u})
            for (uint32_t h : {1u, 5u})
                for (int filter : filters) {
                    PngLayout s = Picture(w, h, colour, w * 31 + h);
                    s.filters = filter;
                    const std::string what = "colour " + std::to_string(colour) + " " + std::to_string(w) + "x" +
                                             std::to_string(h) + " filter " + std::to_string(filter);
                    const Bytes png = MakePng(s);
                    ExpectSameDecode(png, what);
                    LbImage image;
                    ASSERT_TRUE(DecodeBytes(image, png, LB_FORMAT_PNG)) << what;
                    ASSERT_EQ(image.GetBpp(), 24u) << what;
                    const uint32_t channels = colour == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 3;
                    for (uint32_t y = 0; y < h; ++y)
                        for (uint32_t x = 0; x < w; ++x) {
                            const uint8_t* p = s.rows[y].data() + x * channels;
                            ASSERT_EQ(image.GetPixelColor(int32_t(x), int32_t(h - 1 - y)), (LbRgbQuad{p[2], p[1], p[0], 0}))
                                << what;
                        }
                }
    // Kinds the quick road leaves to libpng still decode alike.
    PngLayout interlaced = Picture(9, 7, PNG_COLOR_TYPE_RGB, 5);
    interlaced.interlace = true;
    ExpectSameDecode(MakePng(interlaced), "interlaced");
}

TEST(PngQuickRoad, ChunksAndDamageBehaveAsWithLibpng) {
    PngLayout s = Picture(40, 30, PNG_COLOR_TYPE_RGB, 7);
    s.idatSize = 300;  // several IDAT chunks
    s.background = {10, 20, 30};
    s.physUnit = 1;
    s.physX = 3780;
    s.physY = 2835;
    s.text = "made for the test";
    const Bytes good = MakePng(s);
    ExpectSameDecode(good, "good");
    LbImage image;
    ASSERT_TRUE(DecodeBytes(image, good, LB_FORMAT_PNG));
    EXPECT_EQ(image.GetTransColor(), (LbRgbQuad{30, 20, 10, 0}));
    EXPECT_EQ(image.GetXDPI(), 96);
    EXPECT_EQ(image.GetYDPI(), 72);
    PngLayout other = s;
    other.physUnit = 0;
    other.background.clear();
    ExpectSameDecode(MakePng(other), "resolution without unit, no background");

    // Every byte changed, and the file cut at every length.
    for (size_t i = 0; i < good.size(); ++i) {
        Bytes flipped = good;
        flipped[i] ^= 0x01;
        ExpectSameDecode(flipped, "bit 0 of byte " + std::to_string(i));
        if (i % 3 == 0) {
            Bytes set = good;
            set[i] = 0xFF;
            ExpectSameDecode(set, "byte " + std::to_string(i) + " set");
        }
        ExpectSameDecode(Bytes(good.begin(), good.begin() + i), "cut at " + std::to_string(i));
    }
}

}  // namespace
