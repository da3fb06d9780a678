#pragma once
// The logo pipeline shared by the logo page and the command line: deriving the working
// logo from a picture and a selection, the logo made at load time, and writing the
// logo file (the device logo file for a BMP name).
#include <memory>
#include <string>

#include "image/LbImage.h"
#include "logo/SelectionGeometry.h"

namespace logo {

// The working logo from the selection (picture coordinates, rows from the top, right
// and bottom exclusive): the source cropped to it, resampled to 96 x 96 with the
// nearest pixel, dithered to black and white when asked. False, with the logo left as
// it was, when the selection holds no pixel of the picture.
bool DeriveLogo(LbImage& source, const Rect& selection, bool dither, LbImage& logo);

// The logo made when a picture is loaded: a full copy, resampled to 96 x 96 with the
// bicubic B-spline (not for the raw strip format, type 5) and dithered when asked.
std::unique_ptr<LbImage> MakeLoadedLogo(LbImage& source, int type, bool dither);

// The first selection over a picture: its top-left, at most 96 x 96 pixels.
Rect FirstSelection(int pictureWidth, int pictureHeight);

struct LogoWrite {
    bool written = false;   // the file exists now in the format of the type
    std::string message;    // what to tell the person ("" when all went well)
    std::string reason;     // for a failed write: the file and the system's reason
};

// Encodes the logo in the format of the type. A BMP becomes the device logo file
// (16-bit RGB 5-5-5); any other format is written as it is. The file is replaced in one step, so a
// failure leaves any earlier file at the path untouched. A failed encode reports the
// image library's error text.
LogoWrite WriteLogoFile(LbImage& logo, const std::string& path, int type);

}  // namespace logo

// Rewrites a BMP file in place into the 16-bit device logo form (see
// logo::RewriteBmpTo16Bit); the file is replaced in one step. False, with the reason
// shown in a message box, when the file is not a BMP or cannot be read or replaced.
bool ConvertTo16BitBmp(const std::string& path);
