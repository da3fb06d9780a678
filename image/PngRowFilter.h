#pragma once
// PNG row filters (none, sub, up, average, Paeth) and the choice among them.
//
// A row is filtered against the row above it; each filtered byte is the pixel byte
// less a prediction from its left, upper and upper-left neighbours (pixelBytes
// apart). The deflater compresses small numbers best, so the filter whose output
// has the smallest sum of magnitudes (each byte read as a signed number) is taken:
// a cheap estimate, right often enough to land within a few per cent of trying
// every filter through the compressor.
//
// Rows are read from buffers that hold kPngRowLead zero bytes before the row and
// kPngRowTail bytes of room after it, so the first pixel's missing left neighbours
// read as zero and the vector loops need no separate start.
#include <cstddef>
#include <cstdint>

constexpr size_t kPngRowLead = 16;
constexpr size_t kPngRowTail = 16;

enum PngFilterType : uint8_t { kPngFilterNone = 0, kPngFilterSub, kPngFilterUp, kPngFilterAverage, kPngFilterPaeth };

// Which filters a row may take: a bit per PngFilterType.
using PngFilterSet = uint8_t;
constexpr PngFilterSet kPngOnlyNone = 1u << kPngFilterNone;
constexpr PngFilterSet kPngEveryFilter = 0x1F;

// Filters cur (rowBytes long; prev the row above, all zeros above the first row)
// with the best filter of the set. Writes the filter type byte and the filtered
// row to out (rowBytes + 1 bytes). scratch holds 5 * (rowBytes + kPngRowTail) bytes.
void PngFilterRow(const uint8_t* prev, const uint8_t* cur, size_t rowBytes, unsigned pixelBytes, PngFilterSet set,
                  uint8_t* scratch, uint8_t* out);

// The plain byte-by-byte filter, for tests to hold the fast one against.
void PngFilterRowPlain(const uint8_t* prev, const uint8_t* cur, size_t rowBytes, unsigned pixelBytes,
                       PngFilterType type, uint8_t* out);
