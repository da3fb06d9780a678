#include "logo/SelectionStep.h"

#include "app/LyraDoc.h"
#include "logo/LogoPipeline.h"

namespace logo {

Rect PictureSelectionOfBox(const Rect& box, const ViewMapping& mapping) {
    const Rect selection = SelectionOfBox(box);
    const Point topLeft = ViewToImage({selection.left, selection.top}, mapping);
    const Point bottomRight = ViewToImage({selection.right, selection.bottom}, mapping);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

SelectionStep ApplyPictureSelection(CLyraDoc& doc, const Rect& picture) {
    SelectionStep step;
    if (!doc.m_pSourceImage || !doc.m_pLogoImage) return step;
    step.applied = true;
    step.selection = picture;
    // A selection that holds no pixel of the picture leaves the working logo as it was.
    DeriveLogo(*doc.m_pSourceImage, picture, doc.m_bDither != 0, *doc.m_pLogoImage);
    step.status = SelectionText(picture);
    if (doc.m_bTurnedUpright) step.status += "  rotated as the camera recorded";
    return step;
}

SelectionStep ApplySelectionStep(CLyraDoc& doc, const Rect& box, const ViewMapping& mapping) {
    return ApplyPictureSelection(doc, PictureSelectionOfBox(box, mapping));
}

}  // namespace logo
