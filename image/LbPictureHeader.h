#pragma once
// What a picture file says about itself, read from its headers and block structure
// without decoding a pixel: cheap whatever size the file claims, so a tiny file that
// declares a giant picture is described in a moment and in a few kilobytes.
#include <cstdint>
#include <cstdio>
#include <string>

struct LbPictureHeader {
    uint32_t type = 0;  // LB_FORMAT_BMP, _GIF, _JPG, _PNG or _RAW
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bpp = 0;     // bits per pixel of the picture the decoder makes (1, 4, 8, 24)
    uint32_t frames = 1;  // a GIF counts every image in it, as viewers show them
};

// Reads the picture's headers from the start of f, trying each format of the format
// table by its signature, in the table's order (a RAW strip picture has none: it is
// taken only when namedRaw). False when the file is none of them; error then says why
// when it looked like one.
bool LbReadPictureHeader(std::FILE* f, bool namedRaw, LbPictureHeader& header, std::string& error);

// Each format's header reader, from f's position (the start of the file): false when
// the file is not of the format; error says why when it is but cannot be described.
bool LbReadBmpHeader(std::FILE* f, LbPictureHeader& header, std::string& error);
bool LbReadJpegHeader(std::FILE* f, LbPictureHeader& header, std::string& error);
bool LbReadGifHeader(std::FILE* f, LbPictureHeader& header, std::string& error);
bool LbReadPngHeader(std::FILE* f, LbPictureHeader& header, std::string& error);

// The limit the described picture is over ("16384 x 16384: over the pixel limit of
// ..."), or "" when the decoder would take it.
std::string LbPictureHeaderRefusal(const LbPictureHeader& header);
