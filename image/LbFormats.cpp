#include "image/LbFormats.h"

#include "image/LbFile.h"
#include "image/LbImage.h"
#include "image/LbPictureHeader.h"
#include "platform/FileName.h"

namespace {

const LbFormat kFormats[] = {
    {LB_FORMAT_BMP, "BMP", {"bmp", nullptr}, LbReadBmpHeader},
    {LB_FORMAT_JPG, "JPEG", {"jpg", "jpeg"}, LbReadJpegHeader},
    {LB_FORMAT_GIF, "GIF", {"gif", nullptr}, LbReadGifHeader},
    {LB_FORMAT_PNG, "PNG", {"png", nullptr}, LbReadPngHeader},
    {LB_FORMAT_RAW, "RAW", {"raw", nullptr}, nullptr},
};

}  // namespace

std::span<const LbFormat> LbFormats() { return kFormats; }

const LbFormat* LbFormatOf(uint32_t code) {
    for (const LbFormat& format : kFormats)
        if (format.code == code) return &format;
    return nullptr;
}

uint32_t LbFormatOfName(const std::string& path) {
    const std::string ext = platform::LowerExtension(path);
    for (const LbFormat& format : kFormats)
        for (const char* known : format.extensions)
            if (known != nullptr && ext == known) return format.code;
    return LB_FORMAT_UNKNOWN;
}

const char* LbFormatName(uint32_t code) {
    const LbFormat* format = LbFormatOf(code);
    return format != nullptr ? format->name : "unknown";
}

bool LbDecodeByContent(LbFile* file, uint32_t named, LbImage& picture, const std::function<bool()>& stopped) {
    struct Refusal {
        LbError code = LbError::None;
        std::string text;
    } namedRefusal, limitRefusal;
    const int64_t start = file->Tell();
    const auto isStopped = [&] { return stopped && stopped(); };
    bool ok = false, first = true;
    const auto attempt = [&](uint32_t type) {
        if (!first && !file->Seek(start, SEEK_SET)) return;
        first = false;
        ok = picture.Decode(file, type);
        if (ok) return;
        const Refusal refusal{picture.GetLastErrorCode(), picture.GetLastError()};
        if (type == named) namedRefusal = refusal;
        if (refusal.code == LbError::OverLimit && limitRefusal.code == LbError::None) limitRefusal = refusal;
    };
    if (LbFormatOf(named) != nullptr) attempt(named);
    for (const LbFormat& format : kFormats) {
        if (ok || isStopped()) break;
        if (format.code != named && format.readHeader != nullptr) attempt(format.code);
    }
    if (!ok && named == LB_FORMAT_UNKNOWN && !isStopped()) attempt(LB_FORMAT_RAW);
    if (isStopped()) {
        picture.SetLastError(LbError::Cancelled);
        return false;
    }
    if (ok) return true;
    if (limitRefusal.code != LbError::None)
        picture.SetLastError(limitRefusal.code, limitRefusal.text.c_str());
    else if (!namedRefusal.text.empty())
        picture.SetLastError(namedRefusal.code, namedRefusal.text.c_str());
    else
        picture.SetLastError(LbError::UnknownDecodeFormat);
    return false;
}
