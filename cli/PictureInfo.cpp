#include "cli/PictureInfo.h"

#include <cstdio>

#include "cli/Convert.h"
#include "image/LbImage.h"

namespace cli {

bool DescribePicture(const FileToDescribe& named, std::string& block) {
    std::FILE* file = std::fopen(named.path.c_str(), "rb");
    if (file == nullptr) return false;
    // Every file decodes as a RAW strip picture, so RAW counts only by its extension;
    // the other formats are recognised by their content.
    const uint32_t order[] = {LB_FORMAT_BMP, LB_FORMAT_JPG, LB_FORMAT_GIF, LB_FORMAT_PNG, LB_FORMAT_RAW};
    const bool namedRaw = PictureTypeOf(named.name) == LB_FORMAT_RAW;
    bool found = false;
    for (uint32_t type : order) {
        if (type == LB_FORMAT_RAW && !namedRaw) break;
        std::rewind(file);
        LbImage image;
        if (!image.Decode(file, type)) continue;
        const int frames = image.GetNumFrames() > 0 ? image.GetNumFrames() : 1;
        block = std::string("  picture, ") + PictureFormatName(type) + "\n";
        block += "  width: " + std::to_string(image.GetWidth()) + "\n";
        block += "  height: " + std::to_string(image.GetHeight()) + "\n";
        block += "  bits per pixel: " + std::to_string(image.GetBpp()) + "\n";
        block += "  frames: " + std::to_string(frames) + "\n";
        found = true;
        break;
    }
    std::fclose(file);
    return found;
}

}  // namespace cli
