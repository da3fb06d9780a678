#pragma once
// What a picture becomes in a PNG file, decided once for both writers (the quick
// ISA-L road and libpng): colour type and bit depth, the palette and transparency
// chunks, the background colour and the resolution, and the rows in the file's
// byte order.
//
//   indexed, palette the grey ramp of its depth, no transparency -> grey, 1/4/8 bits
//   other indexed pictures                                        -> palette, 1/4/8 bits
//   24-bit without an alpha plane                                 -> RGB, 8 bits
//   24-bit with an alpha plane                                    -> RGBA, 8 bits
//   indexed with an alpha plane, grey ramp                        -> grey and alpha, 8 bits
//   other indexed with an alpha plane                             -> RGBA, 8 bits
// With an alpha plane, the plane gives each pixel's alpha (the transparent index
// still makes its pixels transparent; the palette's own alpha is not used).
#include <cstddef>
#include <cstdint>

class LbImage;

enum PngColourType : uint8_t { kPngGrey = 0, kPngRgb = 2, kPngPalette = 3, kPngGreyAlpha = 4, kPngRgba = 6 };

struct PngWritePlan {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 8;
    PngColourType colourType = kPngRgb;
    uint8_t pixelBytes = 3;   // bytes from one pixel to the next (1 below 8 bits)
    bool fromPalette = false; // indexed picture written as grey-alpha or RGBA
    size_t rowBytes = 0;      // bytes of one file row, without its filter byte
    // Palette pictures: the entries written (red, green, blue) and, when alphaCount
    // is not 0, that many transparency entries.
    uint32_t paletteCount = 0;
    uint8_t palette[256 * 3] = {};
    uint32_t alphaCount = 0;
    uint8_t alpha[256] = {};
    // The transparent index moves to entry 0 in what is written; -1 or 0: no move.
    int32_t swappedIndex = -1;
    // Background colour: a palette index, a grey sample or red, green, blue.
    uint8_t backgroundIndex = 0;
    uint16_t backgroundGrey = 0;
    uint8_t backgroundRgb[3] = {};
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
};

// The plan for a valid picture of 1, 4, 8 or 24 bits per pixel (not const: the
// nearest-colour search for the background keeps its one-entry cache).
PngWritePlan PlanPngWrite(const LbImage& image);

// Writes the picture's row `fromTop` (0 the top row) as the file holds it into
// dst, plan.rowBytes long: red-green-blue(-alpha) order, indices moved as planned.
void PngFileRow(const LbImage& image, const PngWritePlan& plan, uint32_t fromTop, uint8_t* dst);
