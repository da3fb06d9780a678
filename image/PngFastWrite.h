#pragma once
// The quick PNG writer: rows filtered as they are read from the picture (the
// filter chosen per row, PngRowFilter.h) and compressed with ISA-L's deflater,
// written as IDAT chunks of a fixed size as the compressed data comes. Holds a
// few rows and one block of filtered rows, never the whole file.
//
// The file is a plain PNG: signature, IHDR, PLTE and tRNS for palette pictures,
// bKGD, pHYs, the IDAT chunks, IEND, as PngWritePlan.h decides.
#include <cstdint>

#include "image/PngRowFilter.h"

class LbFile;
class LbImage;
struct PngWritePlan;

struct PngFastSettings {
    int deflateLevel;            // ISA-L's level, 1 to 3
    PngFilterSet filters;        // for 8-bit grey and colour rows; palette and
                                 // sub-byte rows are always left unfiltered
    bool tryRuns;                // each block also coded as literals and runs,
                                 // the smaller kept (DeflateRunBlock.h)
};

// True when the program was built with ISA-L, so PngFastWrite can write.
bool PngFastWriteAvailable();

// Writes the picture as planned. False with the reason in report's last error: the
// stream's "Write Error" or "Flush Error", a memory refusal, or a deflater fault.
bool PngFastWrite(LbFile* file, const LbImage& image, const PngWritePlan& plan, const PngFastSettings& settings,
                  LbImage& report);
