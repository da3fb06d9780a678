#include "cli/PictureInfo.h"

#include <cstdio>

#include "image/LbFormats.h"
#include "image/LbImage.h"
#include "image/LbPictureHeader.h"

namespace cli {

bool DescribePictureFile(const FileToDescribe& named, std::string& block) {
    std::FILE* file = std::fopen(named.path.c_str(), "rb");
    if (file == nullptr) return false;
    // Every file makes a RAW strip picture, so RAW counts only by its extension; the
    // other formats are recognised by their content. Only headers and block
    // structure are read: no pixel is decoded to say what the picture is.
    LbPictureHeader header;
    std::string error;
    const bool found = LbReadPictureHeader(file, LbFormatOfName(named.name) == LB_FORMAT_RAW, header, error);
    std::fclose(file);
    if (!found) return false;
    block = std::string("  picture, ") + LbFormatName(header.type) + "\n";
    if (!error.empty()) {
        if (named.problem) *named.problem = error;
        return true;
    }
    block += "  width: " + std::to_string(header.width) + "\n";
    block += "  height: " + std::to_string(header.height) + "\n";
    block += "  bits per pixel: " + std::to_string(header.bpp) + "\n";
    block += "  frames: " + std::to_string(header.frames) + "\n";
    const std::string refusal = LbPictureHeaderRefusal(header);
    if (!refusal.empty() && named.problem) *named.problem = refusal;
    return true;
}

}  // namespace cli
