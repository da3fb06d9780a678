#include "image/LbImageRAW.h"

#include <vector>

#include "image/LbByteOrder.h"
#include "image/LbFile.h"

namespace {
constexpr uint32_t kWidth = 128, kHeight = 64, kBand = 16;
}

bool LbImageRAW::Decode(LbFile* hFile) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    if (info.escape) {
        SetLastError(LbError::Cancelled);
        return false;
    }
    if (Create(kWidth, kHeight, 24, LB_FORMAT_RAW) == nullptr) return false;
    constexpr uint32_t kWords = kWidth * (kHeight / kBand);
    uint8_t raw[kWords * 2];
    const size_t words = hFile->Read(raw, 2, kWords);
    const LbRgbQuad ink{0, 0, 0, 0}, paper{255, 255, 255, 0};
    uint16_t word = 0;
    for (uint32_t i = 0; i < kWords; ++i) {
        if (i < words) word = LbLoad16(raw + 2 * i);
        const uint32_t band = i / kWidth, x = i % kWidth;
        for (uint32_t j = 0; j < kBand; ++j) {
            const uint32_t fromTop = band * kBand + j;
            SetPixelColor(int32_t(x), int32_t(kHeight - 1 - fromTop), (word >> j) & 1 ? ink : paper);
        }
    }
    return true;
}

bool LbImageRAW::Encode(LbFile* hFile, LbImageView image) {
    if (!EncodeSafeCheck(hFile, *image)) return false;
    const uint32_t width = image->GetWidth(), height = image->GetHeight();
    const uint32_t bands = (height + kBand - 1) / kBand;
    LbMemFile words;
    words.Open();
    for (uint32_t band = 0; band < bands; ++band) {
        for (uint32_t x = 0; x < width; ++x) {
            uint16_t word = 0;
            for (uint32_t j = 0; j < kBand; ++j) {
                // Rows past the bottom read as pixels outside the picture do.
                const int64_t y = int64_t(height) - 1 - int64_t(band * kBand + j);
                if (image->GetPixelColor(int32_t(x), int32_t(y)).red == 0) word = uint16_t(word | (1u << j));
            }
            uint8_t bytes[2];
            LbStore16(bytes, word);
            if (words.Write(bytes, 2, 1) != 1) {
                SetLastError("can't allocate memory");
                return false;
            }
        }
    }
    const size_t size = size_t(words.Size());
    if (size > 0 && hFile->Write(words.GetBuffer(false), size, 1) != 1) {
        SetLastError(LbError::WriteError);
        return false;
    }
    return true;
}
