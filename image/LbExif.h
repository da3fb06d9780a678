#pragma once
// Resolution from an EXIF block (the body of a JPEG APP1 marker).
#include <cstddef>
#include <cstdint>

struct LbExifResolution {
    double x = 0;  // dots per inch, 0 when the block gives none
    double y = 0;
};

// Parses "Exif\0\0" + TIFF header + first IFD; every offset is checked against size.
LbExifResolution LbReadExifResolution(const uint8_t* data, size_t size);
