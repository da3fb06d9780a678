#pragma once
// Pictures and files the image tests build for themselves.
#include <cstdint>
#include <string>
#include <vector>

#include "image/LbImage.h"

namespace imgtest {

using Bytes = std::vector<uint8_t>;

// A scratch file path under the test folder (the folder is created).
std::string TempPath(const std::string& name);
void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

void Put16(Bytes& b, size_t at, uint16_t v);
void Put32(Bytes& b, size_t at, uint32_t v);
uint32_t Get32(const Bytes& b, size_t at);

// A BMP file: 14-byte file header (offset = 14 + header + extra), info header of
// headerSize bytes with the fields given, then extra (masks / palette), then data.
struct BmpLayout {
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bpp = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    uint32_t masks[3] = {0, 0, 0};  // stored inside headers of 52 bytes and more
    uint32_t alphaMask = 0;          // stored inside headers of 56 bytes and more
    Bytes extra;
    Bytes data;
    bool fileHeader = true;
};
Bytes MakeBmp(const BmpLayout& layout);

// A 24-bit test picture whose pixel (x, y) is (x * 7 + y, x + y * 5, x ^ y) as red, green, blue.
LbImage Pattern24(uint32_t width, uint32_t height);
LbRgbQuad PatternColor(int32_t x, int32_t y);

// Encodes a PNG through libpng: rows top-down, already packed for the bit depth.
struct PngLayout {
    uint32_t width = 1;
    uint32_t height = 1;
    int bitDepth = 8;
    int colorType = 0;  // PNG_COLOR_TYPE_*
    bool interlace = false;
    std::vector<uint8_t> palette;  // r, g, b triples
    std::vector<uint8_t> trns;     // palette alphas
    std::vector<std::vector<uint8_t>> rows;
    int filters = 0;                  // PNG_FILTER_* mask; 0 leaves libpng's choice
    size_t idatSize = 0;              // largest IDAT chunk; 0 leaves libpng's choice
    std::vector<uint16_t> background = {};  // bKGD: r, g, b (colour) or grey
    int physUnit = -1;                // pHYs unit (0 or 1); -1 writes none
    uint32_t physX = 0, physY = 0;
    std::string text = {};            // a tEXt "Comment" when not empty
};
Bytes MakePng(const PngLayout& layout);

// Decodes bytes as the given format; the image's last error tells why it failed.
bool DecodeBytes(LbImage& image, const Bytes& bytes, uint32_t type);
// Encodes to memory.
bool EncodeBytes(LbImage& image, Bytes& out, uint32_t type);

}  // namespace imgtest
