#pragma once
// JPEG codec over libjpeg: decodes grey (8-bit, grey palette), RGB and CMYK (24-bit)
// pictures; encodes 24-bit and grey-palette images.
#include "image/LbImage.h"

class LbImageJPG : public LbImage {
public:
    LbImageJPG() : LbImage(LB_FORMAT_JPG) {}
    bool Decode(LbFile* hFile);
    // Writes the viewed image; a failure's reason goes to this codec's last error.
    bool Encode(LbFile* hFile, LbImageView image);
};
