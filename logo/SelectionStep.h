#pragma once
// The logo view's drag step without the window: the box window's place turned into
// the selection, mapped to the picture and cut into the working logo. The view adds
// the preview repaint and the status text; the benchmark times the whole step.
#include <string>

#include "logo/SelectionGeometry.h"

class CLyraDoc;

namespace logo {

struct SelectionStep {
    bool applied = false;  // false without a picture or a working logo: nothing was done
    Rect selection;        // the selection in view client coordinates
    std::string status;    // its status text, "  (%d, %d)-(%d, %d)"
};

// box: the box window's rectangle in view client coordinates.
SelectionStep ApplySelectionStep(CLyraDoc& doc, const Rect& box, const ViewMapping& mapping);

// The selection mapped to picture coordinates (corner by corner, as the crop takes it).
Rect PictureSelectionOfBox(const Rect& box, const ViewMapping& mapping);

// The same step for a selection already in picture coordinates; the status text
// gives it in picture pixels.
SelectionStep ApplyPictureSelection(CLyraDoc& doc, const Rect& picture);

}  // namespace logo
