#pragma once
// PNG codec over libpng: decodes every PNG kind to 1, 4, 8 or 24 bits per pixel
// (alpha dropped, 16-bit samples reduced, 2-bit widened to 4); encodes indexed,
// grey and 24-bit images (with their alpha plane when they have one) with
// background, resolution and transparency chunks, at the level the codec option
// asks (SetEncodeOption).
#include "image/LbImage.h"

// How hard the encoder works for a smaller file.
enum LbPngLevel : uint32_t {
    LB_PNG_DEFAULT = 0,  // the quick writer at its thorough setting (any other value too)
    LB_PNG_FAST = 1,     // the quick writer at its quickest
    LB_PNG_SMALL = 2,    // libpng at zlib's highest level, every filter tried on each row
};

class LbImagePNG : public LbImage {
public:
    LbImagePNG() : LbImage(LB_FORMAT_PNG) {}
    bool Decode(LbFile* hFile);
    // Writes the viewed image; a failure's reason goes to this codec's last error.
    bool Encode(LbFile* hFile, LbImageView image);
};
