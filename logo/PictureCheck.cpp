#include "logo/PictureCheck.h"

#include <cstdint>
#include <cstdio>

#include "platform/Services.h"

namespace logo {

PictureHeader CheckPictureHeader(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return PictureHeader::Unreadable;
    // The 14-byte file header and the 40-byte info header after it.
    uint8_t head[54];
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    if (got < 2 || head[0] != 'B' || head[1] != 'M' || got < sizeof head) return PictureHeader::NotBmp;
    const int bitCount = head[28] | head[29] << 8;
    return bitCount < 16 ? PictureHeader::NotTrueColor : PictureHeader::TrueColorBmp;
}

}  // namespace logo

bool CheckTrueColorBmp(const std::string& path) {
    const char* text = nullptr;
    switch (logo::CheckPictureHeader(path)) {
    case logo::PictureHeader::TrueColorBmp: return true;
    case logo::PictureHeader::NotBmp: text = logo::kNotBmpText; break;
    case logo::PictureHeader::NotTrueColor: text = logo::kNotTrueColorText; break;
    case logo::PictureHeader::Unreadable: text = logo::kFileReadFailText; break;
    }
    platform::services().prompts->Show(text, platform::Buttons::Ok);
    return false;
}
