// The PNG writer at every level: each colour type and bit depth it writes is read
// back by libpng (exact pixels, and the header says the type and depth expected)
// and by Pillow (one run for all files), and a full disk fails it; the vector row
// filters agree with the plain ones on every length and pixel size.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "image/LbImage.h"
#include "image/DeflateRunBlock.h"
#include "image/LbFile.h"
#include "image/LbImagePNG.h"
#include "image/PngRowFilter.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

// A picture with smooth parts, noise and hard edges, so that every filter is
// the best one somewhere; 24-bit or indexed, with or without an alpha plane.
LbImage Picture(uint32_t width, uint32_t height, uint32_t bpp, bool alpha, uint32_t seed) {
    LbImage image(width, height, bpp, LB_FORMAT_BMP);
    std::mt19937 random(seed);
    if (alpha) image.AlphaCreate();
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t noise = random() % 8;
            const bool edge = (x / 16 + y / 16) % 5 == 0;
            if (bpp == 24) {
                image.SetPixelColor(int32_t(x), int32_t(y),
                                    LbRgbQuad{uint8_t(edge ? 255 - x : x * 3 + noise), uint8_t(y * 2 + noise),
                                              uint8_t((x + y) / 3 + (edge ? 128 : 0)), 0});
            } else {
                const uint32_t v = edge ? random() : (x + y) / 4 + noise / 4;
                image.SetPixelIndex(int32_t(x), int32_t(y), uint8_t(v % (1u << bpp)));
            }
            if (alpha) image.AlphaSet(int32_t(x), int32_t(y), uint8_t(x * 5 + y + noise));
        }
    return image;
}

// What a viewer shows of the picture: red, green, blue, alpha per pixel, rows from the top.
Bytes Expected(const LbImage& image) {
    Bytes out;
    const int32_t h = int32_t(image.GetHeight());
    for (int32_t row = 0; row < h; ++row)
        for (int32_t x = 0; x < int32_t(image.GetWidth()); ++x) {
            const int32_t y = h - 1 - row;
            const LbRgbQuad c = image.GetPixelColor(x, y);
            uint8_t a = 255;
            if (image.AlphaIsValid()) a = image.AlphaGet(x, y);
            if (image.IsIndexed()) {
                const uint8_t i = image.GetPixelIndex(x, y);
                if (image.AlphaPaletteIsEnabled()) a = image.GetPaletteColor(i).reserved;
                if (image.GetTransIndex() == i) a = 0;
            }
            out.insert(out.end(), {c.red, c.green, c.blue, a});
        }
    return out;
}

Bytes LibpngPixels(const Bytes& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_RGBA;
    Bytes pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    return pixels;
}

struct Kind {
    const char* name;
    uint32_t bpp;
    bool alpha;        // an alpha plane
    int palette;       // indexed: 0 colours, 1 grey ramp, 2 colours with a transparent index, 3 with alpha entries
    int colourType;    // what the file must say
};

const Kind kKinds[] = {
    {"rgb", 24, false, 0, PNG_COLOR_TYPE_RGB},         {"rgba", 24, true, 0, PNG_COLOR_TYPE_RGB_ALPHA},
    {"grey8", 8, false, 1, PNG_COLOR_TYPE_GRAY},       {"grey4", 4, false, 1, PNG_COLOR_TYPE_GRAY},
    {"grey1", 1, false, 1, PNG_COLOR_TYPE_GRAY},       {"pal8", 8, false, 0, PNG_COLOR_TYPE_PALETTE},
    {"pal4", 4, false, 0, PNG_COLOR_TYPE_PALETTE},     {"pal1", 1, false, 0, PNG_COLOR_TYPE_PALETTE},
    {"pal8trans", 8, false, 2, PNG_COLOR_TYPE_PALETTE}, {"pal4alpha", 4, false, 3, PNG_COLOR_TYPE_PALETTE},
    {"grey8plane", 8, true, 1, PNG_COLOR_TYPE_GRAY_ALPHA}, {"pal4plane", 4, true, 0, PNG_COLOR_TYPE_RGB_ALPHA},
};

LbImage Make(const Kind& kind, uint32_t width, uint32_t height) {
    LbImage image = Picture(width, height, kind.bpp, kind.alpha, width * 31 + kind.bpp);
    if (kind.bpp == 24) return image;
    if (kind.palette == 1) {
        image.SetGrayPalette();
        return image;
    }
    for (uint32_t i = 0; i < image.GetNumColors(); ++i)
        image.SetPaletteColor(uint8_t(i), uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 3), uint8_t(255 - i * 9));
    if (kind.palette == 2) image.SetTransIndex(5);
    if (kind.palette == 3) image.AlphaPaletteEnable(true);
    return image;
}

// A stream that takes `room` bytes and then fails, as a full disk does.
class FullStream : public LbMemFile {
public:
    explicit FullStream(size_t room) : m_room(room) { Open(); }
    size_t Write(const void* buffer, size_t size, size_t count) override {
        if (size * count > m_room) return 0;
        m_room -= size * count;
        return LbMemFile::Write(buffer, size, count);
    }

private:
    size_t m_room;
};

TEST(PngWrite, EveryKindAndLevelReadsBackExactly) {
    struct Size {
        uint32_t width, height;
    };
    // One pixel; widths around the vector step; one large enough for several
    // blocks of rows and several IDAT chunks (at 2 bytes a pixel and more).
    const Size sizes[] = {{1, 1}, {5, 3}, {37, 19}, {700, 300}};
    const struct {
        const char* name;
        uint32_t level;
    } levels[] = {{"fast", LB_PNG_FAST}, {"default", LB_PNG_DEFAULT}, {"small", LB_PNG_SMALL}};
    std::vector<std::pair<std::string, Bytes>> written;  // for Pillow: path, expected pixels
    for (const Kind& kind : kKinds)
        for (const Size& size : sizes)
            for (const auto& level : levels) {
                if (size.width > 100 && kind.bpp < 24 && !kind.alpha) continue;
                const std::string name = std::string(kind.name) + "-" + std::to_string(size.width) + "x" +
                                         std::to_string(size.height) + "-" + level.name;
                LbImage image = Make(kind, size.width, size.height);
                image.SetEncodeOption(level.level);
                Bytes file;
                ASSERT_TRUE(EncodeBytes(image, file, LB_FORMAT_PNG)) << name << ": " << image.GetLastError();
                ASSERT_GT(file.size(), 33u) << name;
                EXPECT_EQ(file[24], kind.bpp == 24 || kind.alpha ? 8 : kind.bpp) << name << ": bit depth";
                EXPECT_EQ(file[25], kind.colourType) << name << ": colour type";
                const Bytes expected = Expected(image);
                EXPECT_EQ(LibpngPixels(file), expected) << name;
                LbImage back;
                ASSERT_TRUE(DecodeBytes(back, file, LB_FORMAT_PNG)) << name << ": " << back.GetLastError();
                Bytes ours = Expected(back);
                for (size_t i = 3; i < ours.size(); i += 4) ours[i] = expected[i];  // our decoder drops alpha
                EXPECT_EQ(ours, expected) << name << ": our decoder";
                // A disk full in the signature, the head, the data or the very last chunk.
                if (kind.colourType == PNG_COLOR_TYPE_RGB && size.width > 100)
                    for (size_t room : {size_t(5), size_t(60), file.size() / 2, file.size() - 1}) {
                        FullStream disk(room);
                        EXPECT_FALSE(image.Encode(&disk, LB_FORMAT_PNG)) << name << ", room " << room;
                        EXPECT_STREQ(image.GetLastError(), "Write Error") << name << ", room " << room;
                    }
                const std::string path = TempPath("png-write-" + name + ".png");
                WriteFile(path, file);
                written.emplace_back(path, expected);
            }

    const std::string cmd = "/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "Pillow is not installed";
    std::string script = "from PIL import Image\nfor p in [\n";
    for (const auto& [path, expected] : written) script += "  '" + path + "',\n";
    script += "]:\n    open(p + '.pillow', 'wb').write(Image.open(p).convert('RGBA').tobytes())\n";
    const std::string scriptPath = TempPath("png-write-read.py");
    WriteFile(scriptPath, Bytes(script.begin(), script.end()));
    ASSERT_EQ(std::system(("/usr/bin/python3 " + scriptPath).c_str()), 0);
    for (const auto& [path, expected] : written) EXPECT_EQ(ReadFile(path + ".pillow"), expected) << path;
}

TEST(PngWrite, VectorFiltersEqualThePlainOnes) {
    std::mt19937 random(7);
    for (unsigned pixelBytes : {1u, 3u, 4u})
        for (size_t length : {size_t(1), size_t(15), size_t(16), size_t(17), size_t(47), size_t(64), size_t(100)})
            for (int type = kPngFilterNone; type <= kPngFilterPaeth; ++type) {
                // Rows behind their lead of zeros; values over the whole byte range.
                std::vector<uint8_t> prev(kPngRowLead + length + kPngRowTail), cur(prev.size());
                for (size_t i = kPngRowLead; i < kPngRowLead + length; ++i) {
                    prev[i] = uint8_t(random());
                    cur[i] = uint8_t(random() % 3 == 0 ? random() : prev[i] + random() % 5);
                }
                std::vector<uint8_t> scratch(5 * (length + kPngRowTail)), out(length + 1), plain(length);
                PngFilterRow(prev.data() + kPngRowLead, cur.data() + kPngRowLead, length, pixelBytes,
                             PngFilterSet(1u << type), scratch.data(), out.data());
                PngFilterRowPlain(prev.data() + kPngRowLead, cur.data() + kPngRowLead, length, pixelBytes,
                                  PngFilterType(type), plain.data());
                EXPECT_EQ(out[0], type);
                EXPECT_EQ(std::vector<uint8_t>(out.begin() + 1, out.end()), plain)
                    << "filter " << type << ", " << pixelBytes << " bytes a pixel, " << length << " bytes";
            }
}

TEST(PngWrite, RunBlocksInflateToTheirBytes) {
    std::mt19937 random(11);
    auto noise = [&](size_t n, unsigned spread) {
        Bytes b(n);
        for (auto& v : b) v = uint8_t(random() % spread);
        return b;
    };
    // Counts growing as the Fibonacci numbers: a plain Huffman code for them
    // would need codes longer than deflate allows.
    Bytes skewed;
    for (size_t v = 0, a = 1, b = 1; v < 24; ++v, b = a + b, a = b - a) skewed.insert(skewed.end(), a, uint8_t(v));
    std::shuffle(skewed.begin(), skewed.end(), random);
    Bytes mixed = noise(5000, 256);
    mixed.insert(mixed.end(), 1000, 7);      // a run longer than one match
    mixed.insert(mixed.end(), {9, 9, 9, 4, 4, 1, 1, 1, 1});
    const struct {
        const char* name;
        std::vector<Bytes> blocks;  // one stream of these blocks in a row
    } cases[] = {
        {"one byte", {{42}}},
        {"two equal bytes", {{5, 5}}},
        {"a run to the end", {{1, 2, 2, 2, 2}}},
        {"zeros", {Bytes(70000, 0)}},
        {"noise", {noise(100000, 256)}},
        {"narrow noise", {noise(30000, 5)}},
        {"skewed counts", {skewed}},
        {"several blocks", {mixed, noise(777, 3), Bytes(300, 255), mixed}},
    };
    for (const auto& c : cases) {
        Bytes stream = {0x78, 0x5E};
        Bytes all;
        for (const Bytes& data : c.blocks) {
            DeflateRunBlock block;
            block.Plan(data.data(), data.size());
            const size_t before = stream.size();
            block.Write(stream);
            EXPECT_EQ(stream.size() - before, block.Bytes()) << c.name;
            all.insert(all.end(), data.begin(), data.end());
        }
        // The last block: empty and stored; then the checksum.
        stream.insert(stream.end(), {0x01, 0x00, 0x00, 0xFF, 0xFF});
        const uLong adler = adler32(adler32(0, nullptr, 0), all.data(), uInt(all.size()));
        stream.insert(stream.end(), {uint8_t(adler >> 24), uint8_t(adler >> 16), uint8_t(adler >> 8), uint8_t(adler)});
        Bytes back(all.size() + 1);
        uLongf length = back.size();
        ASSERT_EQ(uncompress(back.data(), &length, stream.data(), uLong(stream.size())), Z_OK) << c.name;
        back.resize(length);
        EXPECT_EQ(back, all) << c.name;
    }
}

}  // namespace
