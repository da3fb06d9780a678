#include "logo/PictureInfo.h"

#include <cstdio>

#include "app/FileTypes.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"

namespace logo {

PictureInfo DescribePicture(const LbImage& picture) {
    char size[64];
    std::snprintf(size, sizeof size, "(%ux%ux%u)", picture.GetWidth(), picture.GetHeight(), picture.GetBpp());
    return {size, FileTypeDescription(int(picture.GetType())).substr(0, 3)};
}

}  // namespace logo

void ShowPictureInfo(const CLyraDoc& doc) {
    if (!doc.m_pSourceImage) return;
    const logo::PictureInfo info = logo::DescribePicture(*doc.m_pSourceImage);
    platform::services().status->Show(info.kind.empty() ? info.size : info.kind + " " + info.size);
}
