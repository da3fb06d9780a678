#include "image/LbImageBMP.h"

#include <cstring>
#include <vector>

#include "image/LbBudget.h"
#include "image/BmpBitFields.h"
#include "image/LbByteOrder.h"
#include "image/LbFile.h"
#include "image/LbStreamReader.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct BmpHeader {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t planes = 0;
    uint32_t bpp = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPels = 0;
    int32_t yPels = 0;
    uint32_t clrUsed = 0;
    bool masksInHeader = false;
    BmpMasks masks;
};

bool ReadExact(LbFile* f, void* buffer, size_t bytes) { return f->Read(buffer, 1, bytes) == bytes; }

// Reads the info header that starts at the current position and leaves the stream
// right after it. Returns false for a header this decoder does not know.
bool ReadInfoHeader(LbFile* f, BmpHeader& h) {
    const int64_t start = f->Tell();
    uint8_t raw[124] = {};
    const size_t got = f->Read(raw, 1, 40);
    if (got < 12) return false;
    h.size = LbLoad32(raw);
    if (h.size == 12) {
        h.width = LbLoad16(raw + 4);
        h.height = LbLoad16(raw + 6);
        h.planes = LbLoad16(raw + 8);
        h.bpp = LbLoad16(raw + 10);
        return f->Seek(start + 12, 0);
    }
    if (h.size == 16) {  // the short OS/2 2.x header: 32-bit sizes, the rest as 0
        if (got < 16) return false;
        h.width = int32_t(LbLoad32(raw + 4));
        h.height = int32_t(LbLoad32(raw + 8));
        h.planes = LbLoad16(raw + 12);
        h.bpp = LbLoad16(raw + 14);
        return f->Seek(start + 16, 0);
    }
    if (got < 40) return false;
    h.width = int32_t(LbLoad32(raw + 4));
    h.height = int32_t(LbLoad32(raw + 8));
    h.planes = LbLoad16(raw + 12);
    h.bpp = LbLoad16(raw + 14);
    h.compression = LbLoad32(raw + 16);
    h.sizeImage = LbLoad32(raw + 20);
    h.xPels = int32_t(LbLoad32(raw + 24));
    h.yPels = int32_t(LbLoad32(raw + 28));
    h.clrUsed = LbLoad32(raw + 32);
    if (h.size == 40 || h.size == 64) return f->Seek(start + h.size, 0);

    // The 52-, 56-, 108- and 124-byte versions carry the bit-field masks in the
    // header itself (red, green, blue; alpha from 56 bytes on). Every other size
    // above 40 must describe plain uncompressed rows.
    if (h.size == 52 || h.size == 56 || h.size == 108 || h.size == 124) {
        if (h.planes != 1) return false;
        const size_t maskBytes = h.size == 52 ? 12 : 16;
        if (!ReadExact(f, raw + 40, maskBytes)) return false;
        h.masks = BmpMasks{LbLoad32(raw + 40), LbLoad32(raw + 44), LbLoad32(raw + 48),
                           maskBytes == 16 ? LbLoad32(raw + 52) : 0};
        h.masksInHeader = true;
        return f->Seek(start + h.size, 0);
    }
    if (h.size <= 40) return false;
    // The size check in 32-bit arithmetic, as the header's fields are 32-bit.
    const uint32_t rowBytes = (uint32_t(h.bpp) * uint32_t(h.width) + 31) / 32 * 4;
    if (h.sizeImage != rowBytes * uint32_t(h.height) || h.planes != 1 || h.compression != 0 ||
        h.clrUsed != 0)
        return false;
    return f->Seek(start + h.size, 0);
}

// Alpha that is 0 everywhere is a file that never meant any (many writers leave the
// byte unset): such a picture, like one opaque everywhere, keeps no alpha plane.
void DropUnusedAlpha(LbImage& image) {
    bool allZero = true, allOpaque = true;
    for (uint32_t y = 0; y < image.GetHeight() && (allZero || allOpaque); ++y) {
        const uint8_t* a = image.AlphaRow(y);
        for (uint32_t x = 0; x < image.GetWidth(); ++x) {
            allZero = allZero && a[x] == 0;
            allOpaque = allOpaque && a[x] == 255;
        }
    }
    if (allZero || allOpaque) image.AlphaDelete();
}

}  // namespace

bool LbImageBMP::Decode(LbFile* hFile) {
    if (hFile == nullptr) {
        SetLastError("null file handler");
        return false;
    }
    const char* error = DecodeStream(hFile);
    if (error == nullptr) return true;
    if (error != info.lastError) SetLastError(error);
    return false;
}

const char* LbImageBMP::DecodeStream(LbFile* f) {
    const int64_t origin = f->Tell();
    uint8_t fileHeader[14];
    if (!ReadExact(f, fileHeader, 14)) return "Not a BMP";
    uint32_t dataOffset = 0;
    if (LbLoad16(fileHeader) == 0x4D42) {
        dataOffset = LbLoad32(fileHeader + 10);
    } else if (!f->Seek(origin, 0)) {  // no file header: the info header comes first
        return "Not a BMP";
    }

    BmpHeader h;
    if (!ReadInfoHeader(f, h)) return "Error reading BMP info";
    const bool known = h.bpp == 1 || h.bpp == 4 || h.bpp == 8 || h.bpp == 16 || h.bpp == 24 || h.bpp == 32;
    if (!known || h.width <= 0 || h.height == 0 || h.height < -0x7FFFFFFF) return "Error reading BMP info";
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
        return "Error reading BMP data";

    // A refusal by the budget keeps its reason, which names the limit.
    if (Create(width, height, h.bpp, LB_FORMAT_BMP) == nullptr)
        return info.lastError;
    AdviseFill();
    SetXDPI(LbPelsPerMeterToDpi(h.xPels));
    SetYDPI(LbPelsPerMeterToDpi(h.yPels));
    if (info.escape) return "Cancelled";

    // Bit-field masks: in the header from 52 bytes on, else after a 40-byte header
    // (before any palette); without bit fields the 5-5-5 and 8-8-8 defaults.
    BmpMasks masks = h.bpp == 16 ? BmpMasks{0x7C00, 0x03E0, 0x001F} : BmpMasks{0xFF0000, 0xFF00, 0xFF};
    const bool bitFields = (h.compression == kBitFields || h.compression == kAlphaBitFields) && h.bpp >= 16;
    if (bitFields && h.masksInHeader) {
        masks = h.masks;
    } else if (bitFields) {
        const size_t count = h.compression == kAlphaBitFields ? 4 : 3;
        uint8_t raw[16];
        if (!ReadExact(f, raw, 4 * count)) return "Error reading BMP info";
        masks = BmpMasks{LbLoad32(raw), LbLoad32(raw + 4), LbLoad32(raw + 8), count == 4 ? LbLoad32(raw + 12) : 0};
    }
    if (bitFields) {
        const std::string problem = BmpMaskProblem(masks, h.bpp);
        if (!problem.empty()) {
            SetLastError(problem.c_str());
            return info.lastError;
        }
    }

    // Palette: 3-byte entries after a core header, 4-byte entries otherwise.
    if (LbRgbQuad* pal = GetPalette()) {
        const uint32_t entrySize = h.size == 12 ? 3 : 4;
        const uint32_t stored = h.clrUsed < head.clrUsed ? h.clrUsed : head.clrUsed;
        uint8_t raw[256 * 4];
        if (!ReadExact(f, raw, size_t(stored) * entrySize)) return "Error reading BMP info";
        for (uint32_t i = 0; i < stored; ++i)
            pal[i] = LbRgbQuad{raw[i * entrySize], raw[i * entrySize + 1], raw[i * entrySize + 2], 0};
        info.lastValid = false;
    }
    if (info.escape) return "Cancelled";
    if (dataOffset != 0 && !f->Seek(origin + dataOffset, 0)) return "Error reading BMP data";

    const uint32_t stride = info.effWidth;
    auto overMemory = [&](uint64_t bytes) {
        SetLastError(("Can't allocate memory for a scratch row: " + LbMemoryLimitError(bytes)).c_str());
        return info.lastError;
    };
    auto rowAt = [&](uint32_t fileRowIndex) {  // storage row of the n-th row in the file
        return info.pImage + size_t(topDown ? height - 1 - fileRowIndex : fileRowIndex) * stride;
    };
    // The last row may lack its padding; every other byte of the rows must be there.
    auto readRows = [&](uint8_t* scratch, size_t rowBytes, auto&& convert) -> const char* {
        for (uint32_t y = 0; y < height; ++y) {
            const size_t want = y + 1 == height ? lastRowBytes : rowBytes;
            uint8_t* target = scratch ? scratch : rowAt(y);
            if (f->Read(target, 1, rowBytes) < want) return "Error reading BMP data";
            if (scratch) convert(scratch, rowAt(y));
        }
        return nullptr;
    };
    auto noConvert = [](const uint8_t*, uint8_t*) {};

    switch (h.bpp) {
        case 1:
        case 4:
        case 8: {
            if (h.compression == kRgb) {
                if (!topDown) {  // one block read for the common case
                    const size_t all = size_t(stride) * (height - 1) + (size_t(h.bpp) * width + 7) / 8;
                    if (f->Read(info.pImage, 1, size_t(stride) * height) < all) return "Error reading BMP data";
                    return nullptr;
                }
                return readRows(nullptr, stride, noConvert);
            }
            if ((h.compression == kRle8 && h.bpp == 8) || (h.compression == kRle4 && h.bpp == 4)) {
                Clear(0);
                LbStreamReader in(f);
                const bool rle4 = h.compression == kRle4;
                int64_t x = 0, y = 0;
                auto put = [&](uint8_t index) {
                    if (x < width && y < height) SetPixelIndex(int32_t(x), int32_t(topDown ? height - 1 - y : y), index);
                    ++x;
                };
                for (;;) {
                    if (y >= height) return nullptr;  // nothing further can land in the picture
                    const int count = in.Get();
                    const int value = in.Get();
                    if (count < 0 || value < 0) return y + 1 >= height ? nullptr : "Error reading BMP data";
                    if (count > 0) {  // encoded run
                        if (x >= width) {
                            x += count;
                            continue;
                        }
                        for (int i = 0; i < count; ++i)
                            put(rle4 ? uint8_t((i & 1) ? (value & 0x0F) : (value >> 4)) : uint8_t(value));
                        continue;
                    }
                    if (value == 0) {  // end of line
                        x = 0;
                        ++y;
                    } else if (value == 1) {  // end of bitmap
                        return nullptr;
                    } else if (value == 2) {  // delta
                        const int dx = in.Get();
                        const int dy = in.Get();
                        if (dx < 0 || dy < 0) return "Error reading BMP data";
                        x += dx;
                        y += dy;
                    } else {  // absolute run, padded to 16 bits
                        const int bytes = rle4 ? (value + 1) / 2 : value;
                        for (int i = 0; i < bytes; ++i) {
                            const int b = in.Get();
                            if (b < 0) return "Error reading BMP data";
                            if (rle4) {
                                put(uint8_t(b >> 4));
                                if (2 * i + 1 < value) put(uint8_t(b & 0x0F));
                            } else {
                                put(uint8_t(b));
                            }
                        }
                        if ((bytes & 1) && in.Get() < 0) return y + 1 >= height ? nullptr : "Error reading BMP data";
                    }
                }
            }
            return "compression type not supported";
        }
        case 16: {
            if (h.compression != kRgb && !bitFields) return "compression type not supported";
            return BitFieldRows(f, h.bpp, masks, fileRow, lastRowBytes, topDown);
        }
        case 24: {
            if (h.compression != kRgb) return "unknown compression";
            if (!topDown) {
                const size_t all = size_t(stride) * (height - 1) + size_t(width) * 3;
                if (f->Read(info.pImage, 1, size_t(stride) * height) < all) return "Error reading BMP data";
                return nullptr;
            }
            return readRows(nullptr, stride, noConvert);
        }
        default: {  // 32
            if (h.compression != kRgb && !bitFields) return "unknown compression";
            if (masks.red == 0xFF0000 && masks.green == 0xFF00 && masks.blue == 0xFF && masks.alpha == 0) {
                // Blue, green, red bytes as they are: the common case, copied.
                LbBudgetHold hold(uint64_t(width) * 4);
                if (!hold.ok()) return overMemory(uint64_t(width) * 4);
                std::vector<uint8_t> scratch(size_t(width) * 4);
                return readRows(scratch.data(), scratch.size(), [&](const uint8_t* src, uint8_t* dst) {
                    for (uint32_t x = 0; x < width; ++x, dst += 3, src += 4) std::memcpy(dst, src, 3);
                });
            }
            return BitFieldRows(f, h.bpp, masks, fileRow, lastRowBytes, topDown);
        }
    }
}

const char* LbImageBMP::BitFieldRows(LbFile* f, uint32_t fileBpp, const BmpMasks& masks, uint64_t fileRow,
                                     uint64_t lastRowBytes, bool topDown) {
    const uint32_t width = GetWidth(), height = GetHeight();
    const BmpChannel channels[4] = {BmpChannel(masks.red), BmpChannel(masks.green), BmpChannel(masks.blue),
                                    BmpChannel(masks.alpha)};
    if (masks.alpha != 0 && !AlphaCreate()) return info.lastError;
    LbBudgetHold hold(fileRow);
    if (!hold.ok()) {
        SetLastError(("Can't allocate memory for a scratch row: " + LbMemoryLimitError(fileRow)).c_str());
        return info.lastError;
    }
    std::vector<uint8_t> scratch(fileRow);
    // The last row may lack its padding; every other byte of the rows must be there.
    for (uint32_t y = 0; y < height; ++y) {
        const size_t want = y + 1 == height ? lastRowBytes : fileRow;
        if (f->Read(scratch.data(), 1, fileRow) < want) return "Error reading BMP data";
        const uint32_t row = topDown ? height - 1 - y : y;
        BmpBitFieldRow(scratch.data(), width, fileBpp, channels, GetBits(row), AlphaRow(row));
    }
    if (AlphaIsValid()) DropUnusedAlpha(*this);
    return nullptr;
}

bool LbImageBMP::Encode(LbFile* hFile, LbImageView image) {
    if (!EncodeSafeCheck(hFile, *image)) return false;
    uint8_t fileHeader[14] = {'B', 'M'};
    LbStore32(fileHeader + 2, image->GetSize() + 14);
    LbStore32(fileHeader + 10, 14 + 40 + image->GetPaletteSize());
    if (hFile->Write(fileHeader, 14, 1) != 1 || hFile->Write(image->GetDIB(), image->GetSize(), 1) != 1) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}
