#pragma once
// The quick road for the most common PNG pictures: 8-bit RGB or RGBA, not
// interlaced. Chunks are read and CRC-checked here, the image data inflated with
// ISA-L's inflater (several times zlib's speed) and the rows unfiltered straight
// into the picture's bottom-up blue-green-red rows, the alpha (unless opaque
// everywhere) into its alpha plane.
//
// It takes a file only when everything about it is regular; for any other file,
// or at the first irregularity (damage, an unknown critical chunk, a CRC that does
// not match, a chunk out of place, more or less data than the rows need), it
// answers false having changed nothing the caller keeps, and the caller decodes
// the file from the start with libpng, which gives the result or the message.
#include <cstdint>

class LbFile;
class LbImage;

struct PngFastLimits {
    uint32_t maxSide;  // largest width and height taken
};

// Decodes from the stream's position into image (Create, background colour as the
// transparent colour, resolution). False: not taken; the stream position and the
// image are then undefined for the caller to reset.
bool PngFastRead(LbFile* file, LbImage& image, const PngFastLimits& limits);
