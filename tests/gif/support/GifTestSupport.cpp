#include "GifTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "image/LbFile.h"
#include "image/LbImageGIF.h"

namespace giftest {

LbImage MakeIndexed(uint32_t width, uint32_t height, uint32_t bpp, const std::function<uint8_t(uint32_t, uint32_t)>& f) {
    LbImage image(width, height, bpp, LB_FORMAT_GIF);
    const auto table = Table(image.GetNumColors());
    for (uint32_t i = 0; i < table.size(); ++i) image.SetPaletteColor(uint8_t(i), table[i].red, table[i].green, table[i].blue);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) image.SetPixelIndex(int32_t(x), int32_t(height - 1 - y), f(x, y));
    return image;
}

LbImage MakeRgb(uint32_t width, uint32_t height, const std::function<LbRgbQuad(uint32_t, uint32_t)>& f) {
    LbImage image(width, height, 24, LB_FORMAT_GIF);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) image.SetPixelColor(int32_t(x), int32_t(height - 1 - y), f(x, y));
    return image;
}

std::vector<uint8_t> Indices(const LbImage& image) {
    std::vector<uint8_t> out;
    const int32_t h = int32_t(image.GetHeight());
    for (int32_t y = h - 1; y >= 0; --y)
        for (uint32_t x = 0; x < image.GetWidth(); ++x) out.push_back(image.GetPixelIndex(int32_t(x), y));
    return out;
}

std::vector<uint8_t> Rgb(const LbImage& image) {
    std::vector<uint8_t> out;
    const int32_t h = int32_t(image.GetHeight());
    for (int32_t y = h - 1; y >= 0; --y) {
        for (uint32_t x = 0; x < image.GetWidth(); ++x) {
            const LbRgbQuad c = image.GetPixelColor(int32_t(x), y);
            out.insert(out.end(), {c.red, c.green, c.blue});
        }
    }
    return out;
}

Bytes EncodeGif(const LbImage& image, uint32_t method) {
    LbImageGIF codec;
    codec.SetEncodeOption(method);
    LbMemFile file;
    file.Open();
    if (!codec.Encode(&file, image)) return {};
    const size_t size = size_t(file.Size());
    uint8_t* data = file.GetBuffer(false);
    return Bytes(data, data + size);
}

Decoded DecodeGif(const Bytes& bytes, int32_t frame) {
    Decoded result;
    LbImageGIF codec;
    codec.SetFrame(frame);
    LbMemFile file(bytes.data(), bytes.size());
    result.ok = codec.Decode(&file);
    result.frames = codec.GetNumFrames();
    if (result.ok)
        result.image.Transfer(codec);
    else
        result.image.SetLastError(codec.GetLastError());  // the reason travels with the result
    return result;
}

std::vector<LbRgbTriple> Table(uint32_t n) {
    std::vector<LbRgbTriple> t(n);
    for (uint32_t i = 0; i < n; ++i) t[i] = LbRgbTriple{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    return t;
}

Bytes LiteralRaster(const std::vector<uint8_t>& pixels, int minCodeSize) {
    // Clear, then literal codes; a clear before the decoder's table would widen
    // the codes keeps every code at the initial width.
    const int clear = 1 << minCodeSize;
    const int width = minCodeSize + 1;
    const int perClear = clear - 2;
    std::vector<int> codes{clear};
    int sinceClear = 0;
    for (uint8_t p : pixels) {
        if (sinceClear == perClear) {
            codes.push_back(clear);
            sinceClear = 0;
        }
        codes.push_back(p);
        ++sinceClear;
    }
    codes.push_back(clear + 1);
    Bytes data;
    uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc |= uint32_t(code) << bits;
        bits += width;
        while (bits >= 8) {
            data.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0) data.push_back(uint8_t(acc));
    Bytes out{uint8_t(minCodeSize)};
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    out.push_back(0);
    return out;
}

void GifBuilder::Put16(uint32_t v) {
    m_bytes.push_back(uint8_t(v));
    m_bytes.push_back(uint8_t(v >> 8));
}

static void PutTable(Bytes& out, const std::vector<LbRgbTriple>& table) {
    for (const auto& e : table) out.insert(out.end(), {e.red, e.green, e.blue});
}

static uint8_t TableBits(size_t n) {
    uint8_t bits = 0;
    while ((2u << bits) < n) ++bits;
    return bits;
}

GifBuilder& GifBuilder::Header(uint32_t width, uint32_t height, const std::vector<LbRgbTriple>& globalTable) {
    m_bytes.insert(m_bytes.end(), {'G', 'I', 'F', '8', '9', 'a'});
    Put16(width);
    Put16(height);
    m_bytes.push_back(globalTable.empty() ? 0 : uint8_t(0x80 | 0x70 | TableBits(globalTable.size())));
    m_bytes.push_back(0);
    m_bytes.push_back(0);
    PutTable(m_bytes, globalTable);
    return *this;
}

GifBuilder& GifBuilder::Gce(uint8_t flags, uint16_t delay, uint8_t transIndex) {
    m_bytes.insert(m_bytes.end(), {0x21, 0xF9, 0x04, flags});
    Put16(delay);
    m_bytes.insert(m_bytes.end(), {transIndex, 0x00});
    return *this;
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
    m_bytes.insert(m_bytes.end(), {0x21, 0xFE, uint8_t(text.size())});
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Loops(uint16_t loops) {
    const std::string id = "NETSCAPE2.0";
    m_bytes.insert(m_bytes.end(), {0x21, 0xFF, 0x0B});
    m_bytes.insert(m_bytes.end(), id.begin(), id.end());
    m_bytes.insert(m_bytes.end(), {0x03, 0x01});
    Put16(loops);
    m_bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Image(uint32_t left, uint32_t top, uint32_t width, uint32_t height,
                              const std::vector<uint8_t>& pixels, bool interlaced,
                              const std::vector<LbRgbTriple>& localTable, int minCodeSize) {
    m_bytes.push_back(0x2C);
    Put16(left);
    Put16(top);
    Put16(width);
    Put16(height);
    uint8_t flags = interlaced ? 0x40 : 0;
    if (!localTable.empty()) flags |= uint8_t(0x80 | TableBits(localTable.size()));
    m_bytes.push_back(flags);
    PutTable(m_bytes, localTable);
    std::vector<uint8_t> ordered;
    if (interlaced) {
        const uint32_t start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (uint32_t y = start[pass]; y < height; y += step[pass])
                ordered.insert(ordered.end(), pixels.begin() + long(y * width), pixels.begin() + long((y + 1) * width));
    } else {
        ordered = pixels;
    }
    Raw(LiteralRaster(ordered, minCodeSize));
    return *this;
}

GifBuilder& GifBuilder::Raw(const Bytes& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

GifBuilder& GifBuilder::Trailer() {
    m_bytes.push_back(0x3B);
    return *this;
}

std::string TempPath(const std::string& name) {
    mkdir(LYRA_TEST_TMP, 0755);
    return std::string(LYRA_TEST_TMP) + "/" + std::to_string(getpid()) + "_" + name;
}

static std::string Python() {
    // Debian's interpreter carries python3-pil; a python3 earlier on PATH may not.
    return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

static std::string Script() {
    // Not __FILE__: a compiler cache may record it relative to the build folder.
    return std::string(LYRA_TEST_SOURCE) + "/gif/support/gif_pil.py";
}

bool PillowAvailable() {
    static const bool available = std::system((Python() + " -c 'import PIL' >/dev/null 2>&1").c_str()) == 0;
    return available;
}

static bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

static Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::optional<PillowPicture>> PillowDecodeAll(const std::vector<Bytes>& gifs) {
    // One Python for all the files: starting it costs far more than reading a picture.
    static int serial = 0;
    std::vector<std::pair<std::string, std::string>> files;
    std::string cmd = Python() + " '" + Script() + "' decode";
    for (const Bytes& gif : gifs) {
        const std::string n = std::to_string(serial++);
        files.emplace_back(TempPath("pil_in_" + n + ".gif"), TempPath("pil_out_" + n + ".bin"));
        WriteFile(files.back().first, gif);
        cmd += " '" + files.back().first + "' '" + files.back().second + "'";
    }
    const int rc = std::system(cmd.c_str());
    std::vector<std::optional<PillowPicture>> pictures;
    for (const auto& [src, dst] : files) {
        const Bytes out = rc == 0 ? ReadFile(dst) : Bytes{};
        std::remove(src.c_str());
        std::remove(dst.c_str());
        const auto nl = std::find(out.begin(), out.end(), uint8_t('\n'));
        PillowPicture pic;
        if (nl != out.end()) {
            std::istringstream head(std::string(out.begin(), nl));
            head >> pic.frames >> pic.width >> pic.height;
            pic.rgb.assign(nl + 1, out.end());
        }
        if (nl == out.end() || pic.rgb.size() != size_t(pic.width) * pic.height * 3)
            pictures.emplace_back();
        else
            pictures.emplace_back(std::move(pic));
    }
    return pictures;
}

std::optional<PillowPicture> PillowDecode(const Bytes& gif) { return PillowDecodeAll({gif}).front(); }

std::optional<Bytes> PillowEncode(uint32_t width, uint32_t height, const std::vector<LbRgbTriple>& palette,
                                  const std::vector<uint8_t>& pixels, const std::vector<std::string>& options) {
    static int serial = 0;
    const std::string src = TempPath("pil_pic_" + std::to_string(serial) + ".bin");
    const std::string dst = TempPath("pil_made_" + std::to_string(serial++) + ".gif");
    std::string head = std::to_string(width) + " " + std::to_string(height) + " " + std::to_string(palette.size()) + "\n";
    Bytes in(head.begin(), head.end());
    PutTable(in, palette);
    in.insert(in.end(), pixels.begin(), pixels.end());
    if (!WriteFile(src, in)) return std::nullopt;
    std::string cmd = Python() + " '" + Script() + "' encode '" + src + "' '" + dst + "'";
    for (const auto& o : options) cmd += " " + o;
    const int rc = std::system(cmd.c_str());
    std::remove(src.c_str());
    if (rc != 0) return std::nullopt;
    Bytes out = ReadFile(dst);
    std::remove(dst.c_str());
    return out;
}

}  // namespace giftest
