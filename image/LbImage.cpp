#include "image/LbImage.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "image/LbLargeBlock.h"
#include "image/LbPackedRow.h"

namespace {

uint32_t NormalizeBpp(uint32_t bpp) {
    if (bpp <= 1) return 1;
    if (bpp <= 4) return 4;
    if (bpp <= 8) return 8;
    return 24;
}

int32_t DpiToPelsPerMeter(int32_t dpi) {
    const double pels = std::floor(double(dpi) * 39.37007874015748 + 0.5);
    return int32_t(std::clamp(pels, -2147483648.0, 2147483647.0));  // absurd resolutions saturate
}

constexpr const char* kCreateRefusal = "LbImage::Create can't allocate memory: ";

}  // namespace

int32_t LbPelsPerMeterToDpi(int64_t pels) { return int32_t(std::floor(double(pels) * 0.0254 + 0.5)); }

void LbImage::SetMaxImageSize(uint64_t bytes) {
    LbLimits limits = LbCurrentLimits();
    limits.memory = bytes;
    LbSetDefaultLimits(limits);
}
uint64_t LbImage::GetMaxImageSize() { return LbCurrentLimits().memory; }

namespace {

// A block of `size` bytes (at least one) that owns its charge; empty when the
// allocation fails, the charge then given back.
LbBlock NewBlock(size_t size, LbCharge charge) {
    auto* block = static_cast<uint8_t*>(std::malloc(size == 0 ? 1 : size));
    if (block == nullptr) return LbBlock(nullptr, LbBlockFree{});
    return LbBlock(block, LbBlockFree{std::move(charge)});
}

}  // namespace

void LbBlockFree::operator()(uint8_t* block) noexcept {
    std::free(block);
    charge.Give();
}

// ---------------------------------------------------------------- life

LbImage::LbImage(uint32_t imageType) { Startup(imageType); }

LbImage::LbImage(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imageType) {
    Startup(imageType);
    Create(width, height, bpp, imageType);
}

LbImage::LbImage(const std::string& fileName, uint32_t imageType) {
    Startup(imageType);
    Load(fileName, imageType);
}

LbImage::LbImage(const LbImage& src) {
    Startup(0);
    Copy(src);
}

LbImage& LbImage::operator=(const LbImage& src) {
    if (this != &src) Copy(src);
    return *this;
}

LbImage::LbImage(LbImage&& src) noexcept {
    Startup(0);
    Transfer(src);
}

LbImage& LbImage::operator=(LbImage&& src) noexcept {
    Transfer(src);
    return *this;
}

LbImage::~LbImage() { ExpectNoViews(); }

void LbImage::ExpectNoViews() const {
    assert(m_views.load(std::memory_order_relaxed) == 0 && "an image's blocks went while a view of it was alive");
}

void LbImage::Startup(uint32_t imageType) {
    FreeContent();
    head = LbBitmapInfoHeader{};
    info = LbImageInfo{};
    info.type = imageType;
}

void LbImage::FreeContent() {
    ExpectNoViews();
    pLayers.clear();
    info.numLayers = 0;
    pSelection.reset();
    pAlpha.reset();
    pDib.reset();
    info.pImage = nullptr;
}

bool LbImage::Destroy() {
    FreeContent();
    return true;
}

void* LbImage::Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imageType) {
    Destroy();
    info.pImage = nullptr;
    info.effWidth = 0;
    head = LbBitmapInfoHeader{};

    if (width == 0 || height == 0) {
        SetLastError("LbImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = NormalizeBpp(bpp);
    // 64-bit arithmetic: width * bpp and stride * height cannot overflow here.
    const uint64_t stride = (uint64_t(width) * bpp + 31) / 32 * 4;
    const uint64_t imageSize = stride * height;
    const uint32_t colors = bpp <= 8 ? (1u << bpp) : 0;
    const uint64_t blockBytes = CreateBytes(width, height, bpp);
    LbCharge charge;
    const std::string refusal = LbPictureRefusal(
        width, height, blockBytes,
        [&] {
            return width <= 0x7FFFFFFFu && height <= 0x7FFFFFFFu && imageSize <= 0xFFFFFFFFu - 40 - 1024 &&
                   charge.Take(blockBytes);
        },
        kCreateRefusal, kCreateRefusal);
    if (!refusal.empty()) {
        SetLastError(LbError::OverLimit, refusal.c_str());
        return nullptr;
    }

    const size_t blockSize = 40 + size_t(colors) * 4 + size_t(imageSize);
    LbBlock block = NewBlock(blockSize, std::move(charge));
    if (block == nullptr) {
        SetLastError("LbImage::Create can't allocate memory");
        return nullptr;
    }
    pDib = std::move(block);
    head.size = 40;
    head.width = int32_t(width);
    head.height = int32_t(height);
    head.planes = 1;
    head.bitCount = uint16_t(bpp);
    head.compression = 0;
    head.sizeImage = uint32_t(imageSize);
    head.xPelsPerMeter = DpiToPelsPerMeter(info.xDpi);
    head.yPelsPerMeter = DpiToPelsPerMeter(info.yDpi);
    head.clrUsed = colors;
    head.clrImportant = 0;
    info.type = imageType;
    info.effWidth = uint32_t(stride);
    info.lastValid = false;

    std::memset(pDib.get() + 40, 0, size_t(colors) * 4);
    std::memcpy(pDib.get(), &head, 40);
    info.pImage = pDib.get() + 40 + size_t(colors) * 4;
    // Pixels are left as they are, but the padding at the end of each row (and the
    // unused bits of a last partial byte) is cleared, so that files written from the
    // block never carry stray memory.
    const size_t used = size_t(uint64_t(width) * bpp / 8);
    if (used < stride)
        for (uint32_t y = 0; y < height; ++y) std::memset(info.pImage + size_t(y) * stride + used, 0, size_t(stride) - used);
    return pDib.get();
}

void LbImage::CopyInfo(const LbImage& src) {
    LbImage* parent = info.pParent;
    uint8_t* pixels = info.pImage;
    const uint32_t effWidth = info.effWidth;
    const int32_t layers = info.numLayers;
    info = src.info;
    info.pParent = parent;
    info.pImage = pixels;
    info.effWidth = effWidth;
    info.numLayers = layers;
}

bool LbImage::CreateResult(LbImage& result, uint32_t width, uint32_t height, uint32_t bpp) {
    result.CopyInfo(*this);
    if (result.Create(width, height, bpp, GetType()) == nullptr) {
        KeepLastError(result);
        return false;
    }
    result.SetPalette(GetPalette(), GetNumColors());
    return true;
}

void LbImage::Copy(const LbImage& src, bool copyPixels, bool copySelection, bool copyAlpha) {
    if (&src == this) return;
    CopyInfo(src);
    if (!src.IsValid()) {
        const LbImageInfo kept = info;
        Destroy();
        head = LbBitmapInfoHeader{};
        info = kept;
        info.pImage = nullptr;
        info.effWidth = 0;
        return;
    }
    if (Create(src.GetWidth(), src.GetHeight(), src.GetBpp(), src.GetType()) == nullptr) return;
    if (copyPixels && src.pDib != nullptr) {
        std::memcpy(pDib.get(), src.pDib.get(), GetSize());
        std::memcpy(&head, pDib.get(), 40);
    } else if (src.GetPalette() != nullptr) {
        SetPalette(src.GetPalette(), std::min<uint32_t>(256, src.GetNumColors()));
    }
    const size_t area = size_t(GetWidth()) * GetHeight();
    if (copySelection && src.pSelection != nullptr && (pSelection = NewPlane(area)))
        std::memcpy(pSelection.get(), src.pSelection.get(), area);
    if (copyAlpha && src.pAlpha != nullptr && (pAlpha = NewPlane(area)))
        std::memcpy(pAlpha.get(), src.pAlpha.get(), area);
}

void LbImage::TakeBlocks(LbImage& from) {
    FreeContent();
    from.ExpectNoViews();
    head = std::exchange(from.head, LbBitmapInfoHeader{});
    pDib = std::move(from.pDib);
    pSelection = std::move(from.pSelection);
    pAlpha = std::move(from.pAlpha);
    pLayers = std::move(from.pLayers);
    from.pLayers.clear();
    info.pImage = std::exchange(from.info.pImage, nullptr);
    info.effWidth = std::exchange(from.info.effWidth, 0);
    info.numLayers = std::exchange(from.info.numLayers, 0);
}

bool LbImage::Transfer(LbImage& from) {
    if (&from == this) return true;
    TakeBlocks(from);
    LbImageInfo taken = from.info;
    taken.pImage = info.pImage;
    taken.effWidth = info.effWidth;
    taken.numLayers = info.numLayers;
    info = taken;
    return true;
}

void LbImage::Clear(uint8_t value) {
    if (pDib != nullptr) std::memset(info.pImage, value, head.sizeImage);
}

void LbImage::SetLastError(const char* text) {
    if (text == nullptr) text = "";
    SetLastError(text[0] == 0 ? LbError::None : LbError::Other, text);
}

void LbImage::SetLastError(LbError code, const char* text) {
    if (text == nullptr) text = LbErrorText(code);
    info.lastErrorCode = code;
    std::strncpy(info.lastError, text, sizeof info.lastError - 1);
    info.lastError[sizeof info.lastError - 1] = 0;
}

void LbImage::KeepLastError(const LbImage& from) {
    if (&from != this) SetLastError(from.GetLastErrorCode(), from.GetLastError());
}

bool LbImage::EncodeSafeCheck(LbFile* hFile, const LbImage& image) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    if (!image.IsValid()) {
        SetLastError("null image!!!");
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- queries

void LbImage::SetJpegQuality(uint8_t quality) { info.jpegQuality = std::min<uint8_t>(quality, 100); }

void LbImage::SetXDPI(int32_t dpi) {
    info.xDpi = dpi;
    head.xPelsPerMeter = DpiToPelsPerMeter(dpi);
    if (pDib != nullptr) std::memcpy(pDib.get(), &head, 40);
}

void LbImage::SetYDPI(int32_t dpi) {
    info.yDpi = dpi;
    head.yPelsPerMeter = DpiToPelsPerMeter(dpi);
    if (pDib != nullptr) std::memcpy(pDib.get(), &head, 40);
}

void LbImage::SetTransColor(LbRgbQuad color) {
    color.reserved = 0;
    info.transColor = color;
}

LbRgbQuad LbImage::GetTransColor() const {
    if (head.bitCount < 24 && info.transIndex >= 0) return GetPaletteColor(uint8_t(info.transIndex));
    return info.transColor;
}

void LbImage::GetOffset(int32_t* x, int32_t* y) const {
    if (x != nullptr) *x = info.xOffset;
    if (y != nullptr) *y = info.yOffset;
}

void LbImage::SetOffset(int32_t x, int32_t y) {
    info.xOffset = x;
    info.yOffset = y;
}

uint8_t* LbImage::GetBits(uint32_t row) {
    if (pDib == nullptr) return nullptr;
    if (row == 0) return info.pImage;
    if (row >= GetHeight()) return nullptr;
    return info.pImage + size_t(row) * info.effWidth;
}

const uint8_t* LbImage::GetBits(uint32_t row) const { return const_cast<LbImage*>(this)->GetBits(row); }

uint32_t LbImage::GetSize() const {
    if (pDib == nullptr) return 0;
    return 40 + head.clrUsed * 4 + head.sizeImage;
}

uint64_t LbImage::CreateBytes(uint32_t width, uint32_t height, uint32_t bpp) {
    bpp = NormalizeBpp(bpp);
    const uint64_t colors = bpp <= 8 ? (1u << bpp) : 0;
    return 40 + colors * 4 + (uint64_t(width) * bpp + 31) / 32 * 4 * height;
}

void LbImage::AdviseFill() { LbAdviseFill(info.pImage, head.sizeImage); }

bool LbImage::IsInside(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && uint32_t(x) < GetWidth() && uint32_t(y) < GetHeight();
}

LbImage* LbImage::GetLayer(int32_t index) const {
    if (index < 0 || index >= info.numLayers || size_t(index) >= pLayers.size()) return nullptr;
    return pLayers[size_t(index)].get();
}

// ---------------------------------------------------------------- palette

LbRgbQuad* LbImage::GetPalette() const {
    if (pDib == nullptr || head.clrUsed == 0) return nullptr;
    return reinterpret_cast<LbRgbQuad*>(pDib.get() + 40);
}

LbRgbQuad LbImage::GetPaletteColor(uint8_t index) const {
    const LbRgbQuad* pal = GetPalette();
    if (pal == nullptr || index >= head.clrUsed) return LbRgbQuad{};
    return pal[index];
}

void LbImage::SetPaletteColor(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
    SetPaletteColor(index, LbRgbQuad{b, g, r, alpha});
}

void LbImage::SetPaletteColor(uint8_t index, LbRgbQuad color) {
    LbRgbQuad* pal = GetPalette();
    if (pal == nullptr || index >= head.clrUsed) return;
    pal[index] = color;
    info.lastValid = false;
}

void LbImage::SetPaletteColor(uint8_t index, uint32_t rgb) { SetPaletteColor(index, LbQuadFromRGB(rgb)); }

void LbImage::SetPalette(const LbRgbQuad* palette, uint32_t numColors) {
    LbRgbQuad* pal = GetPalette();
    if (pal == nullptr || palette == nullptr) return;
    std::memcpy(pal, palette, std::min(numColors, head.clrUsed) * 4);
    info.lastValid = false;
}

void LbImage::SetPalette(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint32_t numColors) {
    LbRgbQuad* pal = GetPalette();
    if (pal == nullptr || red == nullptr) return;
    if (green == nullptr) green = red;
    if (blue == nullptr) blue = red;
    const uint32_t n = std::min(numColors, head.clrUsed);
    for (uint32_t i = 0; i < n; ++i) pal[i] = LbRgbQuad{blue[i], green[i], red[i], 0};
    info.lastValid = false;
}

void LbImage::SetPalette(const LbRgbTriple* rgb, uint32_t numColors) {
    LbRgbQuad* pal = GetPalette();
    if (pal == nullptr || rgb == nullptr) return;
    const uint32_t n = std::min(numColors, head.clrUsed);
    for (uint32_t i = 0; i < n; ++i) pal[i] = LbRgbQuad{rgb[i].blue, rgb[i].green, rgb[i].red, 0};
    info.lastValid = false;
}

void LbImage::SetGrayPalette() {
    LbRgbQuad* pal = GetPalette();
    if (pal == nullptr || head.clrUsed < 2) return;
    const uint32_t step = 255 / (head.clrUsed - 1);
    for (uint32_t i = 0; i < head.clrUsed; ++i) {
        const uint8_t v = uint8_t(i * step);
        pal[i] = LbRgbQuad{v, v, v, 0};
    }
    info.lastValid = false;
}

bool LbImage::IsGrayScale() const {
    const LbRgbQuad* pal = GetPalette();
    if (pal == nullptr) return false;
    for (uint32_t i = 0; i < head.clrUsed; ++i)
        if (pal[i].red != i || pal[i].green != i || pal[i].blue != i) return false;
    return true;
}

// ---------------------------------------------------------------- pixels

uint8_t LbImage::GetPixelIndex(int32_t x, int32_t y) const {
    if (pDib == nullptr || head.clrUsed == 0) return 0;
    if (!IsInside(x, y)) {
        if (info.transIndex >= 0) return uint8_t(info.transIndex);
        return *info.pImage;
    }
    return PackedIndex(info.pImage + size_t(y) * info.effWidth, uint32_t(x), head.bitCount);
}

LbRgbQuad LbImage::GetPixelColor(int32_t x, int32_t y) const {
    if (pDib == nullptr) return LbRgbQuad{};
    if (!IsInside(x, y)) {
        if (info.transIndex < 0) return GetPixelColor(0, 0);
        if (head.clrUsed != 0) {
            LbRgbQuad c = GetPaletteColor(uint8_t(info.transIndex));
            c.reserved = 0;
            return c;
        }
        return info.transColor;
    }
    if (head.clrUsed != 0) {
        LbRgbQuad c = GetPaletteColor(GetPixelIndex(x, y));
        c.reserved = 0;
        return c;
    }
    const uint8_t* p = info.pImage + size_t(y) * info.effWidth + size_t(x) * 3;
    return LbRgbQuad{p[0], p[1], p[2], 0};
}

uint8_t LbImage::GetPixelGray(int32_t x, int32_t y) const {
    const LbRgbQuad c = GetPixelColor(x, y);
    return uint8_t((c.red * 306 + c.green * 601 + c.blue * 117) >> 10);
}

void LbImage::SetPixelIndex(int32_t x, int32_t y, uint8_t index) {
    if (pDib == nullptr || head.clrUsed == 0 || !IsInside(x, y)) return;
    SetPackedIndex(info.pImage + size_t(y) * info.effWidth, uint32_t(x), head.bitCount, index);
}

void LbImage::SetPixelColor(int32_t x, int32_t y, LbRgbQuad color) {
    if (pDib == nullptr || !IsInside(x, y)) return;
    if (head.clrUsed != 0) {
        SetPixelIndex(x, y, GetNearestIndex(color));
        return;
    }
    uint8_t* p = info.pImage + size_t(y) * info.effWidth + size_t(x) * 3;
    p[0] = color.blue;
    p[1] = color.green;
    p[2] = color.red;
}

uint8_t LbImage::GetNearestIndex(LbRgbQuad color) {
    if (GetPalette() == nullptr) return 0;
    if (info.lastValid && info.lastColor.red == color.red && info.lastColor.green == color.green &&
        info.lastColor.blue == color.blue)
        return info.lastIndex;
    const uint8_t bestIndex = FindNearestIndex(color);
    info.lastColor = color;
    info.lastIndex = bestIndex;
    info.lastValid = true;
    return bestIndex;
}

uint8_t LbImage::FindNearestIndex(LbRgbQuad color) const {
    const LbRgbQuad* pal = GetPalette();
    if (pal == nullptr) return 0;
    uint32_t n = head.clrImportant != 0 ? head.clrImportant : head.clrUsed;
    n = std::min(n, head.clrUsed);
    int32_t best = 200000;
    uint8_t bestIndex = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const int32_t dr = pal[i].red - color.red;
        const int32_t dg = pal[i].green - color.green;
        const int32_t db = pal[i].blue - color.blue;
        const int32_t d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            bestIndex = uint8_t(i);
            if (d == 0) break;
        }
    }
    return bestIndex;
}

// ---------------------------------------------------------------- selection and alpha

LbBlock LbImage::NewPlane(size_t area) {
    LbCharge charge;
    if (!charge.Take(area)) {
        SetLastError(LbError::OverLimit, LbMemoryLimitError(area).c_str());
        return LbBlock(nullptr, LbBlockFree{});
    }
    return NewBlock(area, std::move(charge));
}

LbBlock LbImage::NewPlane(uint8_t value) {
    const size_t area = size_t(GetWidth()) * GetHeight();
    LbBlock plane = NewPlane(area);
    if (plane != nullptr) std::memset(plane.get(), value, area);
    return plane;
}

bool LbImage::SelectionCreate() {
    if (pDib == nullptr) return false;
    if (pSelection == nullptr) pSelection = NewPlane(uint8_t(0));
    return pSelection != nullptr;
}

void LbImage::SelectionDelete() {
    ExpectNoViews();
    pSelection.reset();
}

uint8_t LbImage::SelectionGet(int32_t x, int32_t y) const {
    if (pSelection == nullptr || !IsInside(x, y)) return 0;
    return pSelection[size_t(y) * GetWidth() + size_t(x)];
}

void LbImage::SelectionSet(int32_t x, int32_t y, uint8_t level) {
    if (pSelection != nullptr && IsInside(x, y)) pSelection[size_t(y) * GetWidth() + size_t(x)] = level;
}

bool LbImage::AlphaCreate() {
    if (pDib == nullptr) return false;
    if (pAlpha == nullptr) pAlpha = NewPlane(uint8_t(255));
    return pAlpha != nullptr;
}

void LbImage::AlphaDelete() {
    ExpectNoViews();
    pAlpha.reset();
}

uint8_t LbImage::AlphaGet(int32_t x, int32_t y) const {
    if (pAlpha == nullptr || !IsInside(x, y)) return 0;
    return pAlpha[size_t(y) * GetWidth() + size_t(x)];
}

uint8_t* LbImage::AlphaRow(uint32_t row) {
    return pAlpha == nullptr || row >= GetHeight() ? nullptr : pAlpha.get() + size_t(row) * GetWidth();
}

const uint8_t* LbImage::AlphaRow(uint32_t row) const { return const_cast<LbImage*>(this)->AlphaRow(row); }

void LbImage::AlphaSet(int32_t x, int32_t y, uint8_t level) {
    if (pAlpha != nullptr && IsInside(x, y)) pAlpha[size_t(y) * GetWidth() + size_t(x)] = level;
}
