#include "image/BmpHeader.h"

#include "image/LbByteOrder.h"

BmpHeaderRead BmpReadInfoHeader(const uint8_t* p, size_t size, BmpHeader& h) {
    if (size < 4) return BmpHeaderRead::CutShort;
    h.infoSize = LbLoad32(p);
    if (h.infoSize == 12) {
        if (size < 12) return BmpHeaderRead::CutShort;
        h.width = LbLoad16(p + 4);
        h.height = LbLoad16(p + 6);
        h.planes = LbLoad16(p + 8);
        h.bpp = LbLoad16(p + 10);
        return BmpHeaderRead::Read;
    }
    if (h.infoSize == 16) {
        if (size < 16) return BmpHeaderRead::CutShort;
        h.width = int32_t(LbLoad32(p + 4));
        h.height = int32_t(LbLoad32(p + 8));
        h.planes = LbLoad16(p + 12);
        h.bpp = LbLoad16(p + 14);
        return BmpHeaderRead::Read;
    }
    if (h.infoSize < 40) return BmpHeaderRead::UnknownSize;
    if (size < 40) return BmpHeaderRead::CutShort;
    h.width = int32_t(LbLoad32(p + 4));
    h.height = int32_t(LbLoad32(p + 8));
    h.planes = LbLoad16(p + 12);
    h.bpp = LbLoad16(p + 14);
    h.compression = LbLoad32(p + 16);
    h.sizeImage = LbLoad32(p + 20);
    h.xPels = int32_t(LbLoad32(p + 24));
    h.yPels = int32_t(LbLoad32(p + 28));
    h.clrUsed = LbLoad32(p + 32);
    if (h.infoSize == 52 || h.infoSize == 56 || h.infoSize == 108 || h.infoSize == 124) {
        const size_t maskBytes = h.infoSize == 52 ? 12 : 16;
        if (size < 40 + maskBytes) return BmpHeaderRead::CutShort;
        h.masks = BmpMasks{LbLoad32(p + 40), LbLoad32(p + 44), LbLoad32(p + 48), maskBytes == 16 ? LbLoad32(p + 52) : 0};
        h.masksInHeader = true;
    }
    return BmpHeaderRead::Read;
}

BmpHeaderRead BmpReadHeaders(const uint8_t* p, size_t size, BmpHeader& h) {
    if (size < kBmpFileHeaderBytes || p[0] != 'B' || p[1] != 'M') return BmpHeaderRead::NoSignature;
    const BmpHeaderRead read = BmpReadInfoHeader(p + kBmpFileHeaderBytes, size - kBmpFileHeaderBytes, h);
    h.dataOffset = LbLoad32(p + 10);
    return read;
}
