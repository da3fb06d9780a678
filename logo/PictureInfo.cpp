#include "logo/PictureInfo.h"

#include <cstdio>

#include "app/FileTypes.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"

namespace logo {

PictureInfo DescribeForStatusLine(const LbImage& picture) {
    char size[64];
    std::snprintf(size, sizeof size, "%u x %u pixels", picture.GetWidth(), picture.GetHeight());
    // A captured picture (type 0) comes from no file: it has no kind to name. The
    // first row of the file types, "Supported files", is a dialog filter, not a kind.
    const int type = int(picture.GetType());
    return {size, type == 0 ? std::string() : FileTypeDescription(type).substr(0, 3)};
}

}  // namespace logo

void ShowPictureInfo(const CLyraDoc& doc) {
    if (!doc.SourceImage()) return;
    const logo::PictureInfo info = logo::DescribeForStatusLine(*doc.SourceImage());
    platform::services().status->Show(info.kind.empty() ? info.size : info.kind + " " + info.size);
}
