#pragma once
// Reading a picture for the logo page and the command line alike: any picture the
// image library decodes, found by its content (the name's extension only says which
// decoder is tried first), made 24-bit when it has fewer than 16 bits per pixel, so
// that everything after the load works on true colour. The read reports its progress
// and can be stopped through a monitor image's progress value and escape flag.
#include <cstdio>
#include <string>

#include "image/LbComposite.h"
#include "image/LbImage.h"

namespace logo {

constexpr const char* kCancelledText = "Cancelled";

// Replaces a 1, 4 or 8 bits per pixel picture by a 24-bit one of the same colours,
// size, type and resolution (its transparency dropped: the logo has none). A 24-bit
// picture stays as it is. False, with the reason in the picture's last error, when
// the new picture cannot be made.
bool PromoteToTrueColor(LbImage& picture);

// How a picture is made ready for the logo, as viewers show it: turned upright as its
// file's EXIF orientation says (unless orientation is off) and, where it has
// transparency, composed over the background (unless compose is off).
struct PictureView {
    bool orientation = true;
    bool compose = true;
    LbRgbQuad background = kLbWhite;
};

// Why a picture could not be opened.
enum class OpenRefusal { Missing, Folder, NotAFile, Unreadable };

// Opens a picture for reading ("rb") without waiting on a FIFO or device: nullptr for
// anything but a regular file that can be read, with the reason in refusal.
std::FILE* OpenPicture(const std::string& path, OpenRefusal& refusal);

// type is the image format of the name's extension (1 to 5). On failure, error holds
// the reason ("Cancelled" when the monitor's escape flag stopped the read). monitor,
// when given, gets the progress 0..100 as the file is read. With promote false the
// picture keeps its own depth (a caller that cuts a region first promotes only that),
// unless it has transparency to compose. The picture is made ready as view says;
// turned, when given, tells whether the orientation turned it.
bool LoadPicture(const std::string& path, int type, LbImage& picture, std::string& error,
                 LbImage* monitor = nullptr, bool promote = true, const PictureView& view = {},
                 bool* turned = nullptr);
// The same from a picture already open (from OpenPicture): read from its start; the
// file stays open.
bool LoadPicture(std::FILE* file, int type, LbImage& picture, std::string& error, LbImage* monitor = nullptr,
                 bool promote = true, const PictureView& view = {}, bool* turned = nullptr);

// The message box text for a picture that cannot be opened: its file name and why.
std::string CannotOpenText(const std::string& path, const std::string& reason);

}  // namespace logo
