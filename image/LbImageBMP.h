#pragma once
// BMP codec: reads core (12-byte), short OS/2 (16-byte), 40-byte, 64-byte and larger
// info headers (with or without the file header), RLE4/RLE8, 16-bit and 32-bit bit
// fields of any layout (BmpBitFields.h) and top-down rows;
// writes the image's own block behind a 14-byte file header.
#include "image/LbImage.h"

struct BmpMasks;

class LbImageBMP : public LbImage {
public:
    LbImageBMP() : LbImage(LB_FORMAT_BMP) {}
    bool Decode(LbFile* hFile);
    // Writes the viewed image; a failure's reason goes to this codec's last error.
    bool Encode(LbFile* hFile, LbImageView image);

private:
    const char* DecodeStream(LbFile* hFile);
    // Rows of 16- or 32-bit bit-field pixels into the 24-bit picture (and its alpha
    // plane when the masks have alpha); the reason on failure, nullptr when done.
    const char* BitFieldRows(LbFile* f, uint32_t fileBpp, const BmpMasks& masks, uint64_t fileRow, uint64_t lastRowBytes,
                             bool topDown);
};
