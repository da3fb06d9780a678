#pragma once
// The picture information shown after a screen capture: size and depth, and the first
// three letters of the file kind's description.
#include <string>

class CLyraDoc;
class LbImage;

namespace logo {

struct PictureInfo {
    std::string size;  // "(%dx%dx%d)": width, height, bits per pixel
    std::string kind;  // "BMP" for type 1, "Sup" ("Supported files") for a capture
};
PictureInfo DescribePicture(const LbImage& picture);

}  // namespace logo

// Shows the source picture's information in the status line (nothing without one).
// The status bar has no panes beyond the message and the key indicators, so both
// texts share the message pane: "BMP (200x150x24)".
void ShowPictureInfo(const CLyraDoc& doc);
