#pragma once
// The texts of the message boxes that refuse a logo file or report a failed read or
// write of one.

namespace logo {

constexpr const char* kNotBmpText = "Not BMP file!!";
constexpr const char* kFileReadFailText = "File Read Fail";
constexpr const char* kFileCreateFailText = "File Create Fail";

}  // namespace logo
