#pragma once
// PNG codec over libpng: decodes every PNG kind to 1, 4, 8 or 24 bits per pixel
// (alpha dropped, 16-bit samples reduced, 2-bit widened to 4); encodes indexed and
// 24-bit images with background, resolution and transparency chunks.
#include "image/LbImage.h"

class LbImagePNG : public LbImage {
public:
    LbImagePNG() : LbImage(LB_FORMAT_PNG) {}
    bool Decode(LbFile* hFile);
    bool Encode(LbFile* hFile);
};
