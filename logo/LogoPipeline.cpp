#include "logo/LogoPipeline.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "image/LbFile.h"
#include "logo/DeviceLogoFile.h"
#include "logo/PictureCheck.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"

namespace logo {
namespace {

constexpr const char* kCannotConvertText = "This BMP cannot be converted to the 16-bit logo form";

// The rectangle as the library's crop sees it: corners clamped into the picture and
// ordered, rows turned into stored (bottom-up) order. False when it holds no pixel.
struct StoredRect {
    int32_t left, right, startRow, endRow;
};
bool ToStoredRect(const LbImage& source, const Rect& s, StoredRect& r) {
    const int32_t width = int32_t(source.GetWidth()), height = int32_t(source.GetHeight());
    r.left = std::clamp(s.left, 0, width);
    r.right = std::clamp(s.right, 0, width);
    r.startRow = height - std::clamp(s.top, 0, height);
    r.endRow = height - std::clamp(s.bottom, 0, height);
    if (r.left == r.right || r.startRow == r.endRow) return false;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.startRow > r.endRow) std::swap(r.startRow, r.endRow);
    return true;
}

// Nearest-pixel source index of each of the 96 output positions along an axis of the
// given length, as the library's resample picks them (a single-precision scale).
bool NearestIndices(int32_t length, int32_t (&at)[kLogoSize]) {
    const float scale = float(double(length) / kLogoSize);
    for (int32_t i = 0; i < kLogoSize; ++i) at[i] = length == kLogoSize ? i : int32_t(i * double(scale));
    return at[kLogoSize - 1] < length;
}

// Crop and nearest resample of a 24-bit picture in one pass: only the 96 x 96 pixels
// that the two steps would keep are read, so a drag step costs the same for any size
// of selection. The result equals Crop followed by Resample(96, 96, 1) byte for byte.
bool CutAndScale24(LbImage& source, const StoredRect& r, LbImage& logo) {
    int32_t columns[kLogoSize], rows[kLogoSize];
    if (!NearestIndices(r.right - r.left, columns) || !NearestIndices(r.endRow - r.startRow, rows)) return false;
    LbImage cut(source.GetType());
    if (cut.Create(kLogoSize, kLogoSize, 24, source.GetType()) == nullptr) {
        source.SetLastError(cut.GetLastError());
        return false;
    }
    cut.SetTransIndex(source.GetTransIndex());
    cut.SetTransColor(source.GetInfo().transColor);
    for (int32_t y = 0; y < kLogoSize; ++y) {
        const uint8_t* in = source.GetBits(uint32_t(r.startRow + rows[y])) + 3 * size_t(r.left);
        uint8_t* out = cut.GetBits(uint32_t(y));
        for (int32_t x = 0; x < kLogoSize; ++x, out += 3) std::memcpy(out, in + 3 * size_t(columns[x]), 3);
    }
    return logo.Transfer(cut);
}

}  // namespace

bool DeriveLogo(LbImage& source, const Rect& selection, bool dither, LbImage& logo) {
    if (!source.IsValid()) return false;
    StoredRect r;
    if (!ToStoredRect(source, selection, r)) return false;
    if (source.GetBpp() == 24 && CutAndScale24(source, r, logo)) {
        // done in one pass
    } else {
        if (!source.Crop(selection.left, selection.top, selection.right, selection.bottom, &logo)) return false;
        logo.Resample(kLogoSize, kLogoSize, 1);
    }
    if (dither) logo.Dither(0);
    return true;
}

std::unique_ptr<LbImage> MakeLoadedLogo(const LbImage& source, int type, bool dither) {
    auto logo = std::make_unique<LbImage>(source);
    if (type != LB_FORMAT_RAW) {
        logo->Resample(kLogoSize, kLogoSize, 2);
        if (dither) logo->Dither(0);
    }
    return logo;
}

Rect FirstSelection(int pictureWidth, int pictureHeight) {
    return {0, 0, std::min(kLogoSize, pictureWidth), std::min(kLogoSize, pictureHeight)};
}

LogoWrite WriteLogoFile(LbImage& logo, const std::string& path, int type) {
    LogoWrite result;
    LbMemFile memory;
    memory.Open();
    logo.SetLastError("");
    if (!logo.Encode(&memory, uint32_t(type))) {
        result.message = logo.GetLastError();
        return result;
    }
    const auto size = size_t(memory.Size());
    uint8_t* buffer = memory.GetBuffer(true);
    std::string encoded(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);

    std::string device;
    const Rewrite rewrite = RewriteBmpTo16Bit(encoded, device);
    const std::string& bytes = rewrite == Rewrite::Done ? device : encoded;
    if (!platform::WriteFileAtomically(path, bytes)) {
        result.message = kFileCreateFailText;
        return result;
    }
    result.written = true;
    if (rewrite == Rewrite::NotBmp) result.message = kNotBmpText;
    if (rewrite == Rewrite::Unsupported) result.message = kCannotConvertText;
    return result;
}

}  // namespace logo

bool ConvertTo16BitBmp(const std::string& path) {
    platform::Prompts& prompts = *platform::services().prompts;
    std::string bmp, device;
    // Far more than any logo; a file this large is no logo anyway.
    constexpr size_t kReadLimit = size_t(1) << 30;
    if (!platform::ReadFileBytes(path, bmp, kReadLimit)) {
        prompts.Show(logo::kFileReadFailText, platform::Buttons::Ok);
        return false;
    }
    switch (logo::RewriteBmpTo16Bit(bmp, device)) {
    case logo::Rewrite::NotBmp: prompts.Show(logo::kNotBmpText, platform::Buttons::Ok); return false;
    case logo::Rewrite::Unsupported: prompts.Show(logo::kCannotConvertText, platform::Buttons::Ok); return false;
    case logo::Rewrite::Done: break;
    }
    if (!platform::WriteFileAtomically(path, device)) {
        prompts.Show(logo::kFileCreateFailText, platform::Buttons::Ok);
        return false;
    }
    return true;
}
