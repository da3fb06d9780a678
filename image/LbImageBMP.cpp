#include "image/LbImageBMP.h"

#include <cstring>
#include <vector>

#include "image/BmpBitFields.h"
#include "image/BmpHeader.h"
#include "image/BmpRle.h"
#include "image/LbBudget.h"
#include "image/LbByteOrder.h"
#include "image/LbFile.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

bool ReadExact(LbFile* f, void* buffer, size_t bytes) { return f->Read(buffer, 1, bytes) == bytes; }

// Whether the decoder knows the layout of the rows an info header describes: every
// size but 12, 16, 40, 64 and the bit-field versions must describe plain uncompressed
// rows, checked in 32-bit arithmetic as the header's fields are 32-bit.
bool KnownInfoHeader(const BmpHeader& h) {
    switch (h.infoSize) {
    case 12: case 16: case 40: case 64: return true;
    case 52: case 56: case 108: case 124: return h.planes == 1;
    default: break;
    }
    const uint32_t rowBytes = (uint32_t(h.bpp) * uint32_t(h.width) + 31) / 32 * 4;
    return h.sizeImage == rowBytes * uint32_t(h.height) && h.planes == 1 && h.compression == 0 && h.clrUsed == 0;
}

}  // namespace

bool LbImageBMP::Decode(LbFile* hFile) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    const LbError error = DecodeStream(hFile);
    if (error == LbError::None) return true;
    // A refusal without a fixed text (a limit, a mask) has already said why.
    if (LbErrorText(error)[0] != 0) SetLastError(error);
    return false;
}

LbError LbImageBMP::DecodeStream(LbFile* f) {
    // The headers are read whole from where the stream starts: the file header when
    // the bytes begin with "BM", else the info header comes first.
    const int64_t origin = f->Tell();
    uint8_t raw[kBmpHeaderBytes];
    const size_t got = f->Read(raw, 1, sizeof raw);
    if (got < kBmpFileHeaderBytes) return LbError::NotBmp;
    BmpHeader h;
    const bool fileHeader = raw[0] == 'B' && raw[1] == 'M';
    const BmpHeaderRead read = fileHeader ? BmpReadHeaders(raw, got, h) : BmpReadInfoHeader(raw, got, h);
    if (read != BmpHeaderRead::Read || !KnownInfoHeader(h)) return LbError::BmpInfo;
    if (!f->Seek(origin + (fileHeader ? int64_t(kBmpFileHeaderBytes) : 0) + h.infoSize, 0)) return LbError::BmpInfo;
    const uint32_t dataOffset = h.dataOffset;

    const bool known = h.bpp == 1 || h.bpp == 4 || h.bpp == 8 || h.bpp == 16 || h.bpp == 24 || h.bpp == 32;
    if (!known || h.width <= 0 || h.height == 0 || h.height < -0x7FFFFFFF) return LbError::BmpInfo;
    const bool topDown = h.height < 0;
    const uint32_t width = uint32_t(h.width);
    const uint32_t height = uint32_t(topDown ? -h.height : h.height);
    const uint64_t fileRow = (uint64_t(h.bpp) * width + 31) / 32 * 4;
    if (h.sizeImage == 0) h.sizeImage = uint32_t(fileRow * height);
    if (h.clrUsed == 0 && h.bpp <= 8) h.clrUsed = 1u << h.bpp;

    // Uncompressed rows must be in the stream; refuse before allocating for them.
    const bool compressed = h.bpp <= 8 && (h.compression == kRle8 || h.compression == kRle4);
    const int64_t streamSize = f->Size();
    const uint64_t lastRowBytes = (uint64_t(h.bpp) * width + 7) / 8;
    if (!compressed && streamSize >= 0 &&
        (lastRowBytes > uint64_t(streamSize) || (height > 1 && fileRow > uint64_t(streamSize) / (height - 1))))
        return LbError::BmpData;

    // A refusal by the budget keeps its reason, which names the limit.
    if (Create(width, height, h.bpp, LB_FORMAT_BMP) == nullptr)
        return GetLastErrorCode() == LbError::None ? LbError::Other : GetLastErrorCode();
    AdviseFill();
    SetXDPI(LbPelsPerMeterToDpi(h.xPels));
    SetYDPI(LbPelsPerMeterToDpi(h.yPels));
    if (info.escape) return LbError::Cancelled;

    // Bit-field masks: in the header from 52 bytes on, else after a 40-byte header
    // (before any palette); without bit fields the 5-5-5 and 8-8-8 defaults.
    BmpMasks masks = h.bpp == 16 ? BmpMasks{0x7C00, 0x03E0, 0x001F} : BmpMasks{0xFF0000, 0xFF00, 0xFF};
    const bool bitFields = (h.compression == kBitFields || h.compression == kAlphaBitFields) && h.bpp >= 16;
    if (bitFields && h.masksInHeader) {
        masks = h.masks;
    } else if (bitFields) {
        const size_t count = h.compression == kAlphaBitFields ? 4 : 3;
        uint8_t stored[16];
        if (!ReadExact(f, stored, 4 * count)) return LbError::BmpInfo;
        masks = BmpMasks{LbLoad32(stored), LbLoad32(stored + 4), LbLoad32(stored + 8),
                         count == 4 ? LbLoad32(stored + 12) : 0};
    }
    if (bitFields) {
        const std::string problem = BmpMaskProblem(masks, h.bpp);
        if (!problem.empty()) {
            SetLastError(problem.c_str());
            return LbError::Other;
        }
    }

    // Palette: 3-byte entries after a core header, 4-byte entries otherwise.
    if (LbRgbQuad* pal = GetPalette()) {
        const uint32_t entrySize = h.infoSize == 12 ? 3 : 4;
        const uint32_t stored = h.clrUsed < head.clrUsed ? h.clrUsed : head.clrUsed;
        uint8_t entries[256 * 4];
        if (!ReadExact(f, entries, size_t(stored) * entrySize)) return LbError::BmpInfo;
        for (uint32_t i = 0; i < stored; ++i)
            pal[i] = LbRgbQuad{entries[i * entrySize], entries[i * entrySize + 1], entries[i * entrySize + 2], 0};
        info.lastValid = false;
    }
    if (info.escape) return LbError::Cancelled;
    if (dataOffset != 0 && !f->Seek(origin + dataOffset, 0)) return LbError::BmpData;

    const uint32_t stride = info.effWidth;
    auto rowAt = [&](uint32_t fileRowIndex) {  // storage row of the n-th row in the file
        return info.pImage + size_t(topDown ? height - 1 - fileRowIndex : fileRowIndex) * stride;
    };
    // The last row may lack its padding; every other byte of the rows must be there.
    auto readRows = [&](uint8_t* scratch, size_t rowBytes, auto&& convert) -> LbError {
        for (uint32_t y = 0; y < height; ++y) {
            const size_t want = y + 1 == height ? lastRowBytes : rowBytes;
            uint8_t* target = scratch ? scratch : rowAt(y);
            if (f->Read(target, 1, rowBytes) < want) return LbError::BmpData;
            if (scratch) convert(scratch, rowAt(y));
        }
        return LbError::None;
    };
    auto noConvert = [](const uint8_t*, uint8_t*) {};
    // Bottom-up rows that need no conversion are read as one block.
    auto readBlock = [&]() -> LbError {
        if (topDown) return readRows(nullptr, stride, noConvert);
        const size_t all = size_t(stride) * (height - 1) + lastRowBytes;
        return f->Read(info.pImage, 1, size_t(stride) * height) < all ? LbError::BmpData : LbError::None;
    };

    switch (h.bpp) {
        case 1:
        case 4:
        case 8: {
            if (h.compression == kRgb) return readBlock();
            if ((h.compression == kRle8 && h.bpp == 8) || (h.compression == kRle4 && h.bpp == 4)) {
                Clear(0);
                return BmpReadRleRows(f, *this, h.compression == kRle4, topDown);
            }
            return LbError::BmpIndexedCompression;
        }
        case 16: {
            if (h.compression != kRgb && !bitFields) return LbError::BmpIndexedCompression;
            return BmpReadBitFieldRows(f, *this, h.bpp, masks, fileRow, topDown);
        }
        case 24: {
            if (h.compression != kRgb) return LbError::BmpTrueCompression;
            return readBlock();
        }
        default: {  // 32
            if (h.compression != kRgb && !bitFields) return LbError::BmpTrueCompression;
            if (masks.red == 0xFF0000 && masks.green == 0xFF00 && masks.blue == 0xFF && masks.alpha == 0) {
                // Blue, green, red bytes as they are: the common case, copied.
                LbBudgetHold hold(uint64_t(width) * 4);
                if (!hold.ok()) {
                    SetLastError(LbError::OverLimit, ("Can't allocate memory for a scratch row: " +
                                                      LbMemoryLimitError(uint64_t(width) * 4))
                                                         .c_str());
                    return LbError::OverLimit;
                }
                std::vector<uint8_t> scratch(size_t(width) * 4);
                return readRows(scratch.data(), scratch.size(), [&](const uint8_t* src, uint8_t* dst) {
                    for (uint32_t x = 0; x < width; ++x, dst += 3, src += 4) std::memcpy(dst, src, 3);
                });
            }
            return BmpReadBitFieldRows(f, *this, h.bpp, masks, fileRow, topDown);
        }
    }
}

bool LbImageBMP::Encode(LbFile* hFile, LbImageView image) {
    if (!EncodeSafeCheck(hFile, *image)) return false;
    uint8_t fileHeader[14] = {'B', 'M'};
    LbStore32(fileHeader + 2, image->GetSize() + 14);
    LbStore32(fileHeader + 10, 14 + 40 + image->GetPaletteSize());
    if (hFile->Write(fileHeader, 14, 1) != 1 || hFile->Write(image->GetDIB(), image->GetSize(), 1) != 1) {
        SetLastError(LbError::WriteError);
        return false;
    }
    return true;
}
