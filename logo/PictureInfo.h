#pragma once
// The picture information shown after a screen capture: its size, and the first three
// letters of the file kind's description when it came from a file.
#include <string>

class CLyraDoc;
class LbImage;

namespace logo {

struct PictureInfo {
    std::string size;  // "%d x %d pixels": width, height
    std::string kind;  // "BMP" for type 1; empty for a capture, which has no file kind
};
PictureInfo DescribeForStatusLine(const LbImage& picture);

}  // namespace logo

// Shows the source picture's information in the status line (nothing without one).
// The status bar has no panes beyond the message and the key indicators, so both
// texts share the message pane: "BMP 200 x 150 pixels", "1600 x 1000 pixels".
void ShowPictureInfo(const CLyraDoc& doc);
