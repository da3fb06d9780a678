#pragma once
// Helpers of the GIF codec tests: pictures made in the test, a builder of GIF
// files byte by byte (with its own simple raster coder), in-memory coding, and
// Pillow as a second GIF reader and writer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/LbImage.h"

namespace giftest {

using Bytes = std::vector<uint8_t>;

// An indexed picture of the given size whose index at (x, y from the top) is f(x, y).
LbImage MakeIndexed(uint32_t width, uint32_t height, uint32_t bpp, const std::function<uint8_t(uint32_t, uint32_t)>& f);
// A 24-bit picture whose colour at (x, y from the top) is f(x, y).
LbImage MakeRgb(uint32_t width, uint32_t height, const std::function<LbRgbQuad(uint32_t, uint32_t)>& f);
// Palette indices rows from the top (unpacked).
std::vector<uint8_t> Indices(const LbImage& image);
// RGB triples, rows from the top.
std::vector<uint8_t> Rgb(const LbImage& image);

// Encodes with LbImageGIF (the codec option picks the method).
Bytes EncodeGif(const LbImage& image, uint32_t method);
// Decodes frame 'frame' of the bytes; the result is invalid on failure.
struct Decoded {
    bool ok = false;
    int32_t frames = 0;
    LbImage image;
};
Decoded DecodeGif(const Bytes& bytes, int32_t frame = 0);

// Builds GIF files block by block.
class GifBuilder {
public:
    GifBuilder& Header(uint32_t width, uint32_t height, const std::vector<LbRgbTriple>& globalTable = {});
    GifBuilder& Gce(uint8_t flags, uint16_t delay, uint8_t transIndex);
    GifBuilder& Comment(const std::string& text);
    GifBuilder& Loops(uint16_t loops);
    // Pixels are rows from the top; the raster is written with literal codes only.
    GifBuilder& Image(uint32_t left, uint32_t top, uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels,
                      bool interlaced = false, const std::vector<LbRgbTriple>& localTable = {}, int minCodeSize = 8);
    GifBuilder& Raw(const Bytes& bytes);
    GifBuilder& Trailer();
    const Bytes& bytes() const { return m_bytes; }

private:
    void Put16(uint32_t v);
    Bytes m_bytes;
};

// A grey-ish table of n entries whose entry i is (i, 255 - i, i * 7).
std::vector<LbRgbTriple> Table(uint32_t n);
// The literal-code raster of the builder: code size byte, sub-blocks, terminator.
Bytes LiteralRaster(const std::vector<uint8_t>& pixels, int minCodeSize);

// Pillow, when python3 with PIL is installed.
bool PillowAvailable();
struct PillowPicture {
    int frames = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // rows from the top
};
std::optional<PillowPicture> PillowDecode(const Bytes& gif);
// The same for many files in one run of Pillow, in their order.
std::vector<std::optional<PillowPicture>> PillowDecodeAll(const std::vector<Bytes>& gifs);
// Pillow writes the indexed picture (options: "interlace", "transparency=N").
std::optional<Bytes> PillowEncode(uint32_t width, uint32_t height, const std::vector<LbRgbTriple>& palette,
                                  const std::vector<uint8_t>& pixels, const std::vector<std::string>& options = {});

std::string TempPath(const std::string& name);

}  // namespace giftest
