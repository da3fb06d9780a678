#include "logo/SelectionStep.h"

#include "app/LyraDoc.h"

namespace logo {

Rect PictureSelectionOfBox(const Rect& box, const ViewMapping& mapping) {
    const Rect selection = SelectionOfBox(box);
    const Point topLeft = ViewToImage({selection.left, selection.top}, mapping);
    const Point bottomRight = ViewToImage({selection.right, selection.bottom}, mapping);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

SelectionStep ApplyPictureSelection(CLyraDoc& doc, const Rect& picture) {
    SelectionStep step;
    if (!doc.CutLogo(picture)) return step;
    step.applied = true;
    step.selection = picture;
    step.status = SelectionText(picture);
    if (doc.TurnedUpright()) step.status += "  rotated as the camera recorded";
    return step;
}

SelectionStep ApplySelectionStep(CLyraDoc& doc, const Rect& box, const ViewMapping& mapping) {
    return ApplyPictureSelection(doc, PictureSelectionOfBox(box, mapping));
}

}  // namespace logo
