// Geometry transforms: crop, rotations, flip and mirror. Each builds its result in
// a temporary image that then replaces the target, so a failure changes nothing.
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "image/LbImage.h"
#include "image/LbPackedRow.h"

namespace {

// The crop rectangle in stored rows: clamped into the picture and ordered. False for
// an empty rectangle.
bool CropBounds(int32_t width, int32_t height, int32_t& left, int32_t top, int32_t& right, int32_t bottom,
                int32_t& startRow, int32_t& endRow) {
    left = std::clamp(left, 0, width);
    right = std::clamp(right, 0, width);
    top = std::clamp(top, 0, height);
    bottom = std::clamp(bottom, 0, height);
    startRow = height - top;
    endRow = height - bottom;
    if (left == right || startRow == endRow) return false;
    if (left > right) std::swap(left, right);
    if (startRow > endRow) std::swap(startRow, endRow);
    return true;
}

}  // namespace

bool LbImage::Crop(int32_t left, int32_t top, int32_t right, int32_t bottom, LbImage* dst) {
    if (pDib == nullptr) return false;
    int32_t startRow = 0, endRow = 0;
    if (!CropBounds(int32_t(GetWidth()), int32_t(GetHeight()), left, top, right, bottom, startRow, endRow)) return false;

    LbImage tmp(GetType());
    if (tmp.Create(uint32_t(right - left), uint32_t(endRow - startRow), GetBpp(), GetType()) == nullptr) {
        KeepLastError(tmp);
        return false;
    }
    tmp.SetPalette(GetPalette(), GetNumColors());
    tmp.SetTransIndex(GetTransIndex());
    tmp.SetTransColor(info.transColor);

    const uint32_t bpp = GetBpp();
    if (bpp == 8 || bpp == 24) {
        const size_t offset = size_t(bpp) * uint32_t(left) / 8;
        const size_t bytes = size_t(bpp) * uint32_t(right - left) / 8;
        for (int32_t row = startRow; row < endRow; ++row)
            std::memcpy(tmp.GetBits(uint32_t(row - startRow)), GetBits(uint32_t(row)) + offset, bytes);
    } else {
        for (int32_t row = startRow; row < endRow; ++row)
            for (int32_t x = left; x < right; ++x) tmp.SetPixelIndex(x - left, row - startRow, GetPixelIndex(x, row));
    }
    return (dst ? dst : this)->Transfer(tmp);
}

bool LbImage::CropResample(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t newWidth,
                           int32_t newHeight, LbImage* dst) {
    if (pDib == nullptr || dst == nullptr || dst == this) return false;
    int32_t startRow = 0, endRow = 0;
    if (!CropBounds(int32_t(GetWidth()), int32_t(GetHeight()), left, top, right, bottom, startRow, endRow)) return false;
    const int32_t cutWidth = right - left, cutHeight = endRow - startRow;
    if (newWidth <= 0 || newHeight <= 0 || (cutWidth == newWidth && cutHeight == newHeight))
        return Crop(left, int32_t(GetHeight()) - startRow, right, int32_t(GetHeight()) - endRow, dst) &&
               dst->Resample(newWidth, newHeight, 1);

    // What the cut would be: a fresh image of this type with the palette and the
    // transparency; the resample then copies its information.
    LbImage tmp(GetType());
    tmp.SetTransIndex(GetTransIndex());
    tmp.SetTransColor(info.transColor);
    if (tmp.Create(uint32_t(newWidth), uint32_t(newHeight), GetBpp(), GetType()) == nullptr) {
        KeepLastError(tmp);
        return false;
    }
    tmp.SetPalette(GetPalette(), GetNumColors());

    const float xScale = float(double(cutWidth) / newWidth);
    const float yScale = float(double(cutHeight) / newHeight);
    std::vector<int32_t> columns(static_cast<size_t>(newWidth));
    for (int32_t x = 0; x < newWidth; ++x)
        columns[size_t(x)] = left + std::min(int32_t(x * double(xScale)), cutWidth - 1);
    const bool indexed = IsIndexed();
    for (int32_t y = 0; y < newHeight; ++y) {
        const int32_t sy = startRow + std::min(int32_t(y * double(yScale)), cutHeight - 1);
        if (indexed) {
            for (int32_t x = 0; x < newWidth; ++x) tmp.SetPixelColor(x, y, GetPixelColor(columns[size_t(x)], sy));
            continue;
        }
        const uint8_t* in = GetBits(uint32_t(sy));
        uint8_t* out = tmp.GetBits(uint32_t(y));
        for (int32_t x = 0; x < newWidth; ++x, out += 3) std::memcpy(out, in + 3 * size_t(columns[size_t(x)]), 3);
    }
    return dst->Transfer(tmp);
}

namespace {

// Side of the square tiles a quarter turn is copied in: a tile's source rows and its
// result rows (64 x 64 pixels, 12 KiB each at 24 bits) stay in the first-level cache,
// where a row-by-row turn would touch a new cache line for every pixel it reads.
constexpr int32_t kTurnTile = 64;

// Fills the quarter-turned result: result (x, y) = source (map(x, y)), tile by tile.
// The progress value follows the result rows; a raised escape flag stops the turn
// between bands of tiles (false, the result incomplete).
template <class Map>
bool FillTurned(LbImage& source, LbImage& result, Map map) {
    const int32_t rows = int32_t(result.GetHeight()), columns = int32_t(result.GetWidth());
    const uint32_t bpp = source.GetBpp();
    const uint8_t* in = source.GetBits(0);
    const size_t stride = source.GetEffWidth();
    for (int32_t y0 = 0; y0 < rows; y0 += kTurnTile) {
        source.SetProgress(int32_t(100 * int64_t(y0) / rows));
        if (source.GetEscape() != 0) return false;
        const int32_t y1 = std::min(rows, y0 + kTurnTile);
        for (int32_t x0 = 0; x0 < columns; x0 += kTurnTile) {
            const int32_t x1 = std::min(columns, x0 + kTurnTile);
            for (int32_t y = y0; y < y1; ++y) {
                uint8_t* out = result.GetBits(uint32_t(y));
                for (int32_t x = x0; x < x1; ++x) {
                    const auto [sx, sy] = map(x, y);
                    if (bpp == 24)
                        std::memcpy(out + 3 * size_t(x), in + size_t(sy) * stride + 3 * size_t(sx), 3);
                    else if (bpp == 8)
                        out[x] = in[size_t(sy) * stride + size_t(sx)];
                    else
                        SetPackedIndex(out, uint32_t(x), bpp, PackedIndex(in + size_t(sy) * stride, uint32_t(sx), bpp));
                }
            }
        }
    }
    source.SetProgress(100);
    return true;
}

}  // namespace

bool LbImage::RotateLeft(LbImage* dst) {
    LbImage tmp;
    if (pDib == nullptr || !CreateResult(tmp, GetHeight(), GetWidth(), GetBpp())) return false;
    const int32_t height = int32_t(GetHeight());
    if (!FillTurned(*this, tmp, [height](int32_t x, int32_t y) { return std::pair{y, height - 1 - x}; })) {
        SetLastError(LbError::Cancelled);
        return false;
    }
    return (dst ? dst : this)->Transfer(tmp);
}

bool LbImage::RotateRight(LbImage* dst) {
    LbImage tmp;
    if (pDib == nullptr || !CreateResult(tmp, GetHeight(), GetWidth(), GetBpp())) return false;
    const int32_t width = int32_t(GetWidth());
    if (!FillTurned(*this, tmp, [width](int32_t x, int32_t y) { return std::pair{width - 1 - y, x}; })) {
        SetLastError(LbError::Cancelled);
        return false;
    }
    return (dst ? dst : this)->Transfer(tmp);
}

bool LbImage::Flip() {
    LbImage tmp;
    if (pDib == nullptr || !CreateResult(tmp, GetWidth(), GetHeight(), GetBpp())) return false;
    const uint32_t height = GetHeight();
    for (uint32_t y = 0; y < height; ++y) std::memcpy(tmp.GetBits(height - 1 - y), GetBits(y), info.effWidth);
    return Transfer(tmp);
}

bool LbImage::Mirror() {
    LbImage tmp;
    if (pDib == nullptr || !CreateResult(tmp, GetWidth(), GetHeight(), GetBpp())) return false;
    const uint32_t width = GetWidth(), height = GetHeight(), bpp = GetBpp();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* in = GetBits(y);
        uint8_t* out = tmp.GetBits(y);
        if (bpp == 24) {
            for (uint32_t x = 0; x < width; ++x) std::memcpy(out + 3 * (width - 1 - x), in + 3 * x, 3);
        } else if (bpp == 8) {
            for (uint32_t x = 0; x < width; ++x) out[width - 1 - x] = in[x];
        } else {
            for (uint32_t x = 0; x < width; ++x)
                tmp.SetPixelIndex(int32_t(width - 1 - x), int32_t(y), GetPixelIndex(int32_t(x), int32_t(y)));
        }
    }
    return Transfer(tmp);
}
