#include "ImageTestFiles.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "image/LbFile.h"

namespace imgtest {

std::string TempPath(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(LYRA_TEST_TMP) / "image";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

Bytes ReadFile(const std::string& path) {
    Bytes out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

uint32_t Get32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

Bytes MakeBmp(const BmpLayout& s) {
    Bytes header(s.headerSize, 0);
    Put32(header, 0, s.headerSize);
    if (s.headerSize == 12) {
        Put16(header, 4, uint16_t(s.width));
        Put16(header, 6, uint16_t(s.height));
        Put16(header, 8, 1);
        Put16(header, 10, s.bpp);
    } else if (s.headerSize == 16) {
        Put32(header, 4, uint32_t(s.width));
        Put32(header, 8, uint32_t(s.height));
        Put16(header, 12, 1);
        Put16(header, 14, s.bpp);
    } else {
        Put32(header, 4, uint32_t(s.width));
        Put32(header, 8, uint32_t(s.height));
        Put16(header, 12, 1);
        Put16(header, 14, s.bpp);
        Put32(header, 16, s.compression);
        Put32(header, 20, s.sizeImage);
        Put32(header, 24, 2835);
        Put32(header, 28, 2835);
        Put32(header, 32, s.clrUsed);
        if (s.headerSize >= 52)
            for (int i = 0; i < 3; ++i) Put32(header, 40 + 4 * i, s.masks[i]);
        if (s.headerSize >= 56) Put32(header, 52, s.alphaMask);
    }
    Bytes out;
    if (s.fileHeader) {
        Bytes fh(14, 0);
        fh[0] = 'B';
        fh[1] = 'M';
        const uint32_t offset = uint32_t(14 + header.size() + s.extra.size());
        Put32(fh, 2, uint32_t(offset + s.data.size()));
        Put32(fh, 10, offset);
        out = fh;
    }
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), s.extra.begin(), s.extra.end());
    out.insert(out.end(), s.data.begin(), s.data.end());
    return out;
}

LbRgbQuad PatternColor(int32_t x, int32_t y) {
    return LbRgbQuad{uint8_t(x ^ y), uint8_t(x + y * 5), uint8_t(x * 7 + y), 0};
}

LbImage Pattern24(uint32_t width, uint32_t height) {
    LbImage image(width, height, 24, LB_FORMAT_BMP);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) image.SetPixelColor(int32_t(x), int32_t(y), PatternColor(int32_t(x), int32_t(y)));
    return image;
}

namespace {
void PngWrite(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void PngFlush(png_structp) {}
}  // namespace

Bytes MakePng(const PngLayout& s) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed writing a test picture");
    }
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> pal;
    for (size_t i = 0; i + 2 < s.palette.size(); i += 3) pal.push_back(png_color{s.palette[i], s.palette[i + 1], s.palette[i + 2]});
    if (!pal.empty()) png_set_PLTE(png, info, pal.data(), int(pal.size()));
    if (!s.trns.empty()) png_set_tRNS(png, info, s.trns.data(), int(s.trns.size()), nullptr);
    if (s.filters != 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, s.filters);
    if (s.idatSize != 0) png_set_compression_buffer_size(png, s.idatSize);
    if (s.background.size() == 3 || s.background.size() == 1) {
        png_color_16 bk{};
        bk.red = s.background[0];
        bk.green = s.background.size() == 3 ? s.background[1] : 0;
        bk.blue = s.background.size() == 3 ? s.background[2] : 0;
        bk.gray = s.background[0];
        png_set_bKGD(png, info, &bk);
    }
    if (s.physUnit >= 0) png_set_pHYs(png, info, s.physX, s.physY, s.physUnit);
    png_text comment{};
    if (!s.text.empty()) {
        comment.compression = PNG_TEXT_COMPRESSION_NONE;
        comment.key = const_cast<char*>("Comment");
        comment.text = const_cast<char*>(s.text.c_str());
        png_set_text(png, info, &comment, 1);
    }
    png_write_info(png, info);
    const int passes = s.interlace ? png_set_interlace_handling(png) : 1;
    for (int p = 0; p < passes; ++p)
        for (const auto& row : s.rows) png_write_row(png, const_cast<png_bytep>(row.data()));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool DecodeBytes(LbImage& image, const Bytes& bytes, uint32_t type) {
    return image.Decode(bytes.data(), bytes.size(), type);
}

bool EncodeBytes(LbImage& image, Bytes& out, uint32_t type) {
    LbMemFile file;
    file.Open();
    if (!image.Encode(&file, type)) return false;
    const size_t size = size_t(file.Size());
    const uint8_t* data = file.GetBuffer(false);
    out.assign(data, data + size);
    return true;
}

}  // namespace imgtest
