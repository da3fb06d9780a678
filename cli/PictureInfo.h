#pragma once
// The picture part of "lyrabox-cli info".
#include <string>

#include "cli/Registry.h"

namespace cli {

// Fills block with the picture's format, size, bits per pixel and frame count and
// returns true; false when the file is not a BMP, JPEG, GIF or PNG picture (or a
// .raw file), so that other describers may look at it.
bool DescribePictureFile(const FileToDescribe& file, std::string& block);

}  // namespace cli
