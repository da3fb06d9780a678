#pragma once
// BMP codec: reads core, 40-byte, 64-byte and larger info headers (with or without
// the file header), RLE4/RLE8, 16-bit and 32-bit bit fields and top-down rows;
// writes the image's own block behind a 14-byte file header.
#include "image/LbImage.h"

class LbImageBMP : public LbImage {
public:
    LbImageBMP() : LbImage(LB_FORMAT_BMP) {}
    bool Decode(LbFile* hFile);
    bool Encode(LbFile* hFile);

private:
    const char* DecodeStream(LbFile* hFile);
};
