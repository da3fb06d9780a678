#pragma once
// Run-length coded BMP rows (RLE8 for 8 bits per pixel, RLE4 for 4): pairs of a count
// and a value give a run of one index (RLE4: two alternating ones); a zero count
// introduces an end of line (0), the end of the picture (1), a move right and up
// (2, dx, dy) or an absolute run of that many indices padded to 16 bits. Runs that
// fall outside the picture are dropped.
#include "image/LbError.h"

class LbFile;
class LbImage;

// Decodes the rows from the stream's position into picture, an indexed picture of
// the file's size whose pixels are already cleared. The file's rows come bottom
// first unless topDown. LbError::BmpData when the data ends before its last row,
// None otherwise.
LbError BmpReadRleRows(LbFile* f, LbImage& picture, bool rle4, bool topDown);
