#pragma once
// lyrabox-cli convert IN OUT [--frame N] [--quality Q] [--gif-method rle|lzw|plain] [--png-level fast|default|small]
#include <cstdint>
#include <string>
#include <vector>

namespace cli {

// args are the words after "convert". Prints its own error line; returns 0, 1 (bad
// input or failed operation) or 2 (usage).
int RunConvert(const std::vector<std::string>& args);

// The image format code of a file name's extension (case-insensitive): bmp 1, gif 2,
// jpg/jpeg 3, png 4, raw 5; 0 for anything else.
uint32_t PictureTypeOf(const std::string& path);

// Display name of a format code: "BMP", "GIF", "JPEG", "PNG", "RAW".
const char* PictureFormatName(uint32_t type);

}  // namespace cli
