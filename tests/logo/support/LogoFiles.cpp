#include "logo/support/LogoFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

void Put32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(char(v >> (8 * i)));
}
void Put16(std::string& b, uint16_t v) {
    b.push_back(char(v));
    b.push_back(char(v >> 8));
}

std::string Headers(int w, int h, int bpp, uint32_t paletteBytes, uint32_t imageSize) {
    std::string b = "BM";
    Put32(b, 54 + paletteBytes + imageSize);
    Put32(b, 0);
    Put32(b, 54 + paletteBytes);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, uint16_t(bpp));
    Put32(b, 0);
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, bpp <= 8 ? 1u << bpp : 0);
    Put32(b, 0);
    return b;
}

}  // namespace

Rgb Pattern(int x, int y) { return {uint8_t(x * 7 + y), uint8_t(y * 5 + (x >> 8)), uint8_t((x ^ y) + (y >> 8) * 11)}; }

std::string Bmp24(int w, int h, const PixelFn& pixel, bool topDown) {
    const int stride = (w * 3 + 3) & ~3;
    std::string b = Headers(w, topDown ? -h : h, 24, 0, uint32_t(stride * h));
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        for (int x = 0; x < w; ++x) {
            Rgb c = pixel(x, y);
            b += char(c.b);
            b += char(c.g);
            b += char(c.r);
        }
        b.append(size_t(stride - 3 * w), '\0');
    }
    return b;
}

std::string Bmp8(int w, int h) {
    const int stride = (w + 3) & ~3;
    std::string b = Headers(w, h, 8, 1024, uint32_t(stride * h));
    for (int i = 0; i < 256; ++i) {
        b += char(i / 2);
        b += char(255 - i);
        b += char(i);
        b += '\0';
    }
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        for (int x = 0; x < w; ++x) b += char((x + y) % 256);
        b.append(size_t(stride - w), '\0');
    }
    return b;
}

std::string ScratchDir() {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(t->test_suite_name()) + "." + t->name();
    for (char& c : name)
        if (c == '/') c = '_';
    std::filesystem::path dir = std::filesystem::path(LYRA_TEST_TMP) / "logo" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

uint32_t Le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t Le16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }
