#pragma once
// Pictures for the logo tests, written byte by byte here (not by the image library),
// and a scratch folder per test.
#include <cstdint>
#include <functional>
#include <string>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Colour of pixel (x, y), y counted from the top.
using PixelFn = std::function<Rgb(int x, int y)>;

// A colour that differs for every pixel of pictures up to 4096 x 4096.
Rgb Pattern(int x, int y);

std::string Bmp24(int w, int h, const PixelFn& pixel, bool topDown = false);
// An 8-bit BMP whose pixel (x, y) has palette index (x + y) % 256 and palette entry i
// the colour (i, 255 - i, i / 2).
std::string Bmp8(int w, int h);

std::string ScratchDir();  // fresh for the running test
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

uint32_t Le32(const std::string& b, size_t at);
uint16_t Le16(const std::string& b, size_t at);
