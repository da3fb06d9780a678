// Encoding: file structure, the three data methods, the true-colour mosaic, the
// multi-image encoder and its errors.
#include <gtest/gtest.h>

#include "image/GifPixelRows.h"
#include "image/GifRle.h"
#include "image/LbFile.h"
#include "image/LbImageGIF.h"
#include "support/GifTestSupport.h"

using namespace giftest;

namespace {

struct Block {
    uint8_t kind;             // 0x2C image, 0x21 extension (label below), 0x3B trailer
    uint8_t label = 0;
    std::vector<uint8_t> head;  // descriptor (9 bytes) or first sub-block of an extension
};

// Splits a GIF file into its blocks (structure only).
std::vector<Block> Blocks(const Bytes& gif) {
    std::vector<Block> out;
    size_t p = 13;
    if (gif[10] & 0x80) p += 3u << ((gif[10] & 7) + 1);
    auto skipSub = [&] {
        while (p < gif.size() && gif[p] != 0) p += gif[p] + 1u;
        ++p;
    };
    while (p < gif.size()) {
        Block b{gif[p++], 0, {}};
        if (b.kind == 0x3B) {
            out.push_back(b);
            break;
        }
        if (b.kind == 0x21) {
            b.label = gif[p++];
            b.head.assign(gif.begin() + long(p) + 1, gif.begin() + long(p) + 1 + gif[p]);
            skipSub();
        } else {
            b.head.assign(gif.begin() + long(p), gif.begin() + long(p) + 9);
            p += 9;
            if (b.head[8] & 0x80) p += 3u << ((b.head[8] & 7) + 1);
            ++p;  // code size
            skipSub();
        }
        out.push_back(b);
    }
    return out;
}

uint32_t Le16(const std::vector<uint8_t>& v, size_t i) { return v[i] | (v[i + 1] << 8); }

const uint32_t kMethods[] = {LB_GIF_RLE, LB_GIF_NONE, LB_GIF_LZW, 7};

// Pictures that exercise the data methods: runs of all lengths, noise, stripes.
std::vector<std::pair<std::string, std::function<uint8_t(uint32_t, uint32_t)>>> Pictures(uint32_t colours) {
    return {
        {"flat", [](uint32_t, uint32_t) { return uint8_t(0); }},
        {"noise", [colours](uint32_t x, uint32_t y) { return uint8_t((x * 2654435761u ^ y * 40503u) >> 7) % colours; }},
        {"runs", [colours](uint32_t x, uint32_t y) { return uint8_t(((x + y * 131) / (1 + (y % 37))) % colours); }},
        {"stripes", [colours](uint32_t x, uint32_t) { return uint8_t((x / 3) % colours); }},
    };
}

}  // namespace

TEST(GifEncode, HeaderExtensionCommentAndImage) {
    LbImage image = MakeIndexed(5, 3, 8, [](uint32_t x, uint32_t y) { return uint8_t(x + y); });
    image.SetTransIndex(5);
    image.SetFrameDelay(300);
    LbImageGIF codec;
    codec.SetComment("hello");
    codec.SetDisposalMethod(2);
    LbMemFile file;
    file.Open();
    ASSERT_TRUE(codec.Encode(&file, image));
    const uint8_t* data = file.GetBuffer(false);
    const Bytes gif(data, data + file.Size());
    ASSERT_GT(gif.size(), 13u + 768u);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(Le16(gif, 6), 5u);
    EXPECT_EQ(Le16(gif, 8), 3u);
    EXPECT_EQ(gif[10], 0xE7);
    const auto blocks = Blocks(gif);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].label, 0xF9);
    EXPECT_EQ(blocks[0].head, (std::vector<uint8_t>{0x09, 0x2C, 0x01, 5}));  // disposal 2, transparent; 300; index 5
    EXPECT_EQ(blocks[1].label, 0xFE);
    EXPECT_EQ(std::string(blocks[1].head.begin(), blocks[1].head.end()), "hello");
    EXPECT_EQ(blocks[2].kind, 0x2C);
    EXPECT_EQ(blocks[2].head[8], 0);
    EXPECT_EQ(blocks[3].kind, 0x3B);
}

TEST(GifEncode, EveryMethodRoundTrips) {
    for (uint32_t bpp : {1u, 4u, 8u}) {
        for (const auto& [name, f] : Pictures(1u << bpp)) {
            // Long runs fill the decoder's table several times over.
            const uint32_t w = name == "flat" ? 1500 : 83, h = name == "flat" ? 1200 : 61;
            const LbImage image = MakeIndexed(w, h, bpp, f);
            for (uint32_t method : kMethods) {
                SCOPED_TRACE(name + " bpp " + std::to_string(bpp) + " method " + std::to_string(method));
                const Decoded d = DecodeGif(EncodeGif(image, method));
                ASSERT_TRUE(d.ok);
                EXPECT_EQ(d.image.GetBpp(), bpp);
                EXPECT_EQ(Indices(d.image), Indices(image));
            }
        }
    }
}

TEST(GifEncode, RunLengthNeverWritesMoreThanPlainOutput) {
    for (uint32_t bpp : {1u, 4u, 8u}) {
        for (const auto& [name, f] : Pictures(1u << bpp)) {
            for (auto [w, h] : {std::pair{1u, 1u}, {43u, 6u}, {17u, 15u}, {255u, 1u}, {97u, 89u}, {600u, 400u}}) {
                SCOPED_TRACE(name + " bpp " + std::to_string(bpp) + " " + std::to_string(w) + "x" + std::to_string(h));
                const LbImage image = MakeIndexed(w, h, bpp, f);
                EXPECT_LE(EncodeGif(image, LB_GIF_RLE).size(), EncodeGif(image, LB_GIF_NONE).size());
                // Codes: a clear, one per pixel with a clear at each clear limit, the end code.
                LbMemFile file;
                file.Open();
                tag_RLE rle(&file, int(std::max(bpp, 2u)) + 1);
                GifPixelRows rows(image);
                ASSERT_TRUE(rle.compressRLE(rows));
                const uint64_t pixels = uint64_t(w) * h;
                EXPECT_LE(rle.out.CodeCount(), 2 + pixels + pixels / uint64_t(rle.out_clear_init));
            }
        }
    }
}

TEST(GifEncode, TrueColourIsWrittenAsTiles) {
    const LbImage image = MakeRgb(34, 15, [](uint32_t x, uint32_t y) { return LbRgbQuad{uint8_t(x * 7), uint8_t(y * 9), uint8_t(x ^ y), 0}; });
    const Bytes gif = EncodeGif(image, LB_GIF_RLE);
    ASSERT_FALSE(gif.empty());
    EXPECT_EQ(gif[10], 0x11);
    std::vector<Block> tiles;
    for (const auto& b : Blocks(gif)) {
        if (b.kind == 0x2C) tiles.push_back(b);
    }
    ASSERT_EQ(tiles.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Le16(tiles[i].head, 0), 17u * i);
        EXPECT_EQ(Le16(tiles[i].head, 2), 0u);
        EXPECT_EQ(Le16(tiles[i].head, 4), 17u);
        EXPECT_EQ(Le16(tiles[i].head, 6), 15u);
        EXPECT_EQ(tiles[i].head[8], 0x87);
    }
}

TEST(GifEncode, MosaicDecodesThroughTheCanvas) {
    for (auto [w, h] : {std::pair{40u, 33u}, {100u, 31u}}) {
        LbImage image = MakeRgb(w, h, [](uint32_t x, uint32_t y) { return LbRgbQuad{uint8_t(x * 5), uint8_t(y * 3), uint8_t((x * y) & 0xF0), 0}; });
        image.SetTransColor(LbRgbQuad{0, 0, 0, 0});
        image.SetTransIndex(0);
        for (uint32_t method : kMethods) {
            const Decoded d = DecodeGif(EncodeGif(image, method));
            ASSERT_TRUE(d.ok);
            EXPECT_EQ(d.image.GetBpp(), 24u);
            EXPECT_EQ(Rgb(d.image), Rgb(image));
            // The transparent colour comes back as alpha 0 exactly where it lies.
            ASSERT_TRUE(d.image.AlphaIsValid());
            for (uint32_t y = 0; y < h; ++y)
                for (uint32_t x = 0; x < w; ++x)
                    ASSERT_EQ(d.image.AlphaGet(int32_t(x), int32_t(y)) == 0,
                              image.GetPixelColor(int32_t(x), int32_t(y)) == LbRgbQuad{});
        }
    }
}

TEST(GifEncode, AnimationWithLoopsAndLocalTables) {
    LbImage a = MakeIndexed(6, 5, 8, [](uint32_t x, uint32_t) { return uint8_t(x); });
    LbImage b = MakeIndexed(6, 5, 4, [](uint32_t, uint32_t y) { return uint8_t(y); });
    b.SetPaletteColor(1, 1, 2, 3);
    LbImage* images[] = {&a, &b};
    struct Case {
        int32_t loops;
        bool hasLoopBlock;
        uint32_t written;
    };
    for (const Case c : {Case{0, true, 0}, Case{1, false, 0}, Case{4, true, 3}}) {
        LbImageGIF codec;
        codec.SetLoops(c.loops);
        LbMemFile file;
        file.Open();
        ASSERT_TRUE(codec.Encode(&file, images, 2, true));
        const uint8_t* data = file.GetBuffer(false);
        const Bytes gif(data, data + file.Size());
        const auto blocks = Blocks(gif);
        const bool loopBlock = blocks[0].kind == 0x21 && blocks[0].label == 0xFF;
        EXPECT_EQ(loopBlock, c.hasLoopBlock);
        if (loopBlock) {
            const size_t at = 13 + 768 + 15;  // the loop sub-block's data
            EXPECT_EQ(gif[at], 1);
            EXPECT_EQ(Le16(gif, at + 1), c.written);
        }
        const Decoded second = DecodeGif(gif, 1);
        ASSERT_TRUE(second.ok);
        EXPECT_EQ(second.frames, 2);
        EXPECT_EQ(Indices(second.image), Indices(b));
        EXPECT_EQ(second.image.GetPaletteColor(1), (LbRgbQuad{3, 2, 1, 0}));
    }
}

TEST(GifEncode, ErrorTexts) {
    LbImage good = MakeIndexed(2, 2, 8, [](uint32_t, uint32_t) { return uint8_t(0); });
    LbImage empty;
    LbImage* none[] = {nullptr};
    LbImage* bad[] = {&good, &empty};
    LbImageGIF codec;
    LbMemFile file;
    file.Open();
    EXPECT_FALSE(codec.Encode(nullptr, bad, 1));
    EXPECT_STREQ(codec.GetLastError(), "invalid file pointer");
    EXPECT_FALSE(codec.Encode(&file, nullptr, 1));
    EXPECT_STREQ(codec.GetLastError(), "multipage GIF, no images!");
    EXPECT_FALSE(codec.Encode(&file, bad, 0));
    EXPECT_STREQ(codec.GetLastError(), "multipage GIF, no images!");
    EXPECT_FALSE(codec.Encode(&file, none, 1));
    EXPECT_STREQ(codec.GetLastError(), "Bad image pointer");
    EXPECT_FALSE(codec.Encode(&file, bad, 2));
    EXPECT_STREQ(codec.GetLastError(), "Bad image pointer");
    EXPECT_EQ(file.Size(), 0);
    EXPECT_FALSE(codec.Encode(nullptr, codec));
    EXPECT_STREQ(codec.GetLastError(), "null file handler");
    EXPECT_FALSE(codec.Encode(&file, codec));
    EXPECT_STREQ(codec.GetLastError(), "null image!!!");
}

namespace {

// A stream whose writes fail after a number of bytes, like a full disk.
class FullDisk : public LbMemFile {
public:
    explicit FullDisk(size_t room) : m_room(room) { Open(); }
    size_t Write(const void* buffer, size_t size, size_t count) override {
        if (m_room < size * count) {
            m_failed = true;
            return 0;
        }
        m_room -= size * count;
        return LbMemFile::Write(buffer, size, count);
    }
    long Error() override { return m_failed ? 1 : 0; }

private:
    size_t m_room;
    bool m_failed = false;
};

}  // namespace

TEST(GifEncode, WriteErrorIsReported) {
    const LbImage image = MakeIndexed(300, 200, 8, [](uint32_t x, uint32_t y) { return uint8_t(x * y); });
    for (uint32_t method : kMethods) {
        for (size_t room : {size_t(5), size_t(900), size_t(5000)}) {
            LbImageGIF codec;
            codec.SetEncodeOption(method);
            FullDisk disk(room);
            EXPECT_FALSE(codec.Encode(&disk, image));
            EXPECT_STREQ(codec.GetLastError(), "Write Error in GIF file");
        }
    }
}
