#pragma once
// The picture part of "lyrabox-cli info".
#include <string>

namespace cli {

// Fills block with the picture's format, size, bits per pixel and frame count and
// returns true; false when the file is not a BMP, JPEG, GIF or PNG picture (or a
// .raw file), so that other describers may look at it.
bool DescribePicture(const std::string& path, std::string& block);

}  // namespace cli
