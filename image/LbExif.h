#pragma once
// Resolution and orientation from an EXIF block (the body of a JPEG APP1 marker, or
// the bare TIFF structure of a PNG eXIf chunk).
#include <cstddef>
#include <cstdint>

struct LbExifResolution {
    double x = 0;  // dots per inch, 0 when the block gives none
    double y = 0;
};

// Parses "Exif\0\0" + TIFF header + first IFD; every offset is checked against size.
LbExifResolution LbReadExifResolution(const uint8_t* data, size_t size);

// The orientation tag (1 to 8: how the stored rows must be turned to stand upright)
// of the first IFD; 0 when the block has none or an invalid one. withHeader: the
// block starts with "Exif\0\0" (JPEG); without it, it is the TIFF structure (PNG).
int LbReadExifOrientation(const uint8_t* data, size_t size, bool withHeader);
