#pragma once
// The check every picture passes before it is decoded: a BMP of 16 or more bits per
// pixel, whatever the file's extension says.
#include <string>

namespace logo {

enum class PictureHeader {
    TrueColorBmp,   // "BM" and at least 16 bits per pixel
    NotBmp,         // no "BM", or too short to hold the two BMP headers
    NotTrueColor,   // a BMP of 1, 4 or 8 bits per pixel
    Unreadable,     // the file cannot be opened
};

PictureHeader CheckPictureHeader(const std::string& path);

constexpr const char* kNotBmpText = "Not BMP file!!";
constexpr const char* kNotTrueColorText = "Not 16bit True Color!!";
constexpr const char* kFileReadFailText = "File Read Fail";
constexpr const char* kFileCreateFailText = "File Create Fail";

}  // namespace logo

// True when the file is a BMP of 16 or more bits per pixel; otherwise the reason has
// been shown in a message box.
bool CheckTrueColorBmp(const std::string& path);
