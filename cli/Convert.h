#pragma once
// lyrabox-cli convert IN OUT [--frame N] [--quality Q] [--gif-method rle|lzw|plain] [--png-level fast|default|small]
//     [--no-orientation] [--background COLOR]
#include <string>
#include <vector>

namespace cli {

// args are the words after "convert". Prints its own error line; returns 0, 1 (bad
// input or failed operation) or 2 (usage).
int RunConvert(const std::vector<std::string>& args);

}  // namespace cli
