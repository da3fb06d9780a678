#include "logo/LogoPipeline.h"

#include <algorithm>
#include <cstdlib>

#include "image/LbFile.h"
#include "logo/DeviceLogoFile.h"
#include "logo/PictureCheck.h"
#include "logo/PictureLoad.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"

namespace logo {
namespace {

constexpr const char* kCannotConvertText = "This BMP cannot be converted to the 16-bit logo form";

}  // namespace

bool DeriveLogo(LbImage& source, const Rect& selection, bool dither, LbImage& logo) {
    // One pass: only the pixels the nearest resample keeps are read, so a drag step
    // costs the same for any size of selection.
    if (!source.CropResample(selection.left, selection.top, selection.right, selection.bottom, kLogoSize, kLogoSize,
                             &logo))
        return false;
    if (dither) logo.Dither(0);
    return true;
}

std::unique_ptr<LbImage> MakeLoadedLogo(LbImage& source, int type, bool dither) {
    auto logo = std::make_unique<LbImage>();
    // The resample into a new image gives what resampling a full copy gives, without
    // copying a picture of any size first.
    if (type == LB_FORMAT_RAW || !source.Resample(kLogoSize, kLogoSize, 2, logo.get())) {
        *logo = source;
        return logo;
    }
    if (dither) logo->Dither(0);
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
    // A dithered logo is black and white in a palette JPEG cannot hold; it is written
    // as the same colours in true colour.
    LbImage promoted;
    LbImage* encoded = &logo;
    if (type == int(LB_FORMAT_JPG) && logo.IsIndexed() && !logo.IsGrayScale()) {
        promoted = logo;
        PromoteToTrueColor(promoted);
        encoded = &promoted;
    }
    if (!encoded->Encode(&memory, uint32_t(type))) {
        result.message = encoded->GetLastError();
        return result;
    }
    const auto size = size_t(memory.Size());
    uint8_t* buffer = memory.GetBuffer(true);
    std::string bytesOut(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);

    // Only a BMP becomes the device logo file; the other formats are written as they
    // were encoded, and that is a success, not a "Not BMP file!!".
    std::string device;
    const Rewrite rewrite = type == int(LB_FORMAT_BMP) ? RewriteBmpTo16Bit(bytesOut, device) : Rewrite::NotBmp;
    const std::string& bytes = rewrite == Rewrite::Done ? device : bytesOut;
    if (!platform::WriteFileAtomically(path, bytes, &result.reason)) {
        result.message = kFileCreateFailText;
        return result;
    }
    result.written = true;
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
