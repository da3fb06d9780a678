#pragma once
// BMP codec: reads core (12-byte), short OS/2 (16-byte), 40-byte, 64-byte and larger
// info headers (with or without the file header), RLE4/RLE8, 16-bit and 32-bit bit
// fields of any layout (BmpBitFields.h) and top-down rows; the headers are read by
// BmpHeader.h, the run-length rows by BmpRle.h;
// writes the image's own block behind a 14-byte file header.
#include "image/LbImage.h"

class LbImageBMP : public LbImage {
public:
    LbImageBMP() : LbImage(LB_FORMAT_BMP) {}
    bool Decode(LbFile* hFile);
    // Writes the viewed image; a failure's reason goes to this codec's last error.
    bool Encode(LbFile* hFile, LbImageView image);

private:
    // Fills this image from the stream; the refusal's code on failure (its last error
    // already set for the codes without a fixed text), LbError::None when done.
    LbError DecodeStream(LbFile* hFile);
};
