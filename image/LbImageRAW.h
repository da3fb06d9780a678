#pragma once
// The device's two-colour strip format: bands of 16 rows from the top, one 16-bit
// little-endian word per column and band, bit j = row 16 * band + j, set = ink.
#include "image/LbImage.h"

class LbImageRAW : public LbImage {
public:
    LbImageRAW() : LbImage(LB_FORMAT_RAW) {}
    // Always a 128 x 64 picture; missing words repeat the word before them.
    bool Decode(LbFile* hFile);
    // Writes the viewed image; a failure's reason goes to this codec's last error.
    bool Encode(LbFile* hFile, LbImageView image);
};
