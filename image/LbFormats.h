#pragma once
// The picture formats, in one table: each format's code, its name, the extensions a
// file name gives it by, and how its content is told. Everything that chooses a format
// by a name or finds one by content goes through this table: the logo page, convert,
// info and the image library's own Load.
//
// Finding a picture by its content tries the decoders in the table's order, the one
// the name gives first. RAW, the device's strip format, has no signature: any bytes
// decode as one, so it is tried only for a name that gives no format or gives RAW.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

class LbFile;
class LbImage;
struct LbPictureHeader;

struct LbFormat {
    uint32_t code;              // LbImageFormat
    const char* name;           // as info shows it: "BMP", "JPEG", ...
    const char* extensions[2];  // lower case, without the dot; nullptr when fewer
    // Tells the format by the file's headers, read from the start of f (LbPictureHeader.h);
    // nullptr for RAW, which has none to tell it by.
    bool (*readHeader)(std::FILE* f, LbPictureHeader& header, std::string& error);
};

// The formats in the order their content is tried.
std::span<const LbFormat> LbFormats();
// The format of a code; nullptr for a code of none.
const LbFormat* LbFormatOf(uint32_t code);
// The format code a file name gives by its extension (case-insensitive); 0 for a name
// that gives none.
uint32_t LbFormatOfName(const std::string& path);
// The format's name, "unknown" for a code of none.
const char* LbFormatName(uint32_t code);

// Decodes the picture that starts at the stream's position by its content: the format
// `named` first (the one the file's name gives; 0 for none), then every other format
// in the table's order, each from the same position; RAW last and only when named is 0.
// stopped, when given, is asked before each decoder and at the end: true stops the
// decode as cancelled. On failure the picture's last error is the cancel, else the
// first refusal for a resource limit (a decoder that knew the file says more than
// the named decoder failing on a file of another format), else the named decoder's
// refusal, else LbError::UnknownDecodeFormat.
bool LbDecodeByContent(LbFile* file, uint32_t named, LbImage& picture, const std::function<bool()>& stopped = {});
