#pragma once
// What a file's name says about it.
#include <string>

namespace platform {

// The text after the last "." of the file's own name, in lower case; "" when the
// name has none (a dot in a folder name is no extension).
std::string LowerExtension(const std::string& path);

}  // namespace platform
