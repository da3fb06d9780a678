#pragma once
// Reading a picture for the logo page and the command line alike: any picture the
// image library decodes, found by its content (the name's extension only says which
// decoder is tried first), made 24-bit when it has fewer than 16 bits per pixel, so
// that everything after the load works on true colour. The read reports its progress
// and can be stopped through a monitor image's progress value and escape flag.
#include <string>

#include "image/LbImage.h"

namespace logo {

constexpr const char* kCancelledText = "Cancelled";

// Replaces a 1, 4 or 8 bits per pixel picture by a 24-bit one of the same colours,
// size, type and resolution (its transparency dropped: the logo has none). A 24-bit
// picture stays as it is. False, with the reason in the picture's last error, when
// the new picture cannot be made.
bool PromoteToTrueColor(LbImage& picture);

// type is the image format of the name's extension (1 to 5). On failure, error holds
// the reason ("Cancelled" when the monitor's escape flag stopped the read). monitor,
// when given, gets the progress 0..100 as the file is read.
bool LoadPicture(const std::string& path, int type, LbImage& picture, std::string& error,
                 LbImage* monitor = nullptr);

// The message box text for a picture that cannot be opened: its file name and why.
std::string CannotOpenText(const std::string& path, const std::string& reason);

}  // namespace logo
