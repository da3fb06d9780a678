#include "logo/SelectionStep.h"

#include "app/LyraDoc.h"
#include "logo/LogoPipeline.h"

namespace logo {

SelectionStep ApplySelectionStep(CLyraDoc& doc, const Rect& box, const ViewMapping& mapping) {
    SelectionStep step;
    if (!doc.m_pSourceImage || !doc.m_pLogoImage) return step;
    step.applied = true;
    step.selection = SelectionOfBox(box);
    const Point topLeft = ViewToImage({step.selection.left, step.selection.top}, mapping);
    const Point bottomRight = ViewToImage({step.selection.right, step.selection.bottom}, mapping);
    // A selection that holds no pixel of the picture leaves the working logo as it was.
    DeriveLogo(*doc.m_pSourceImage, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, doc.m_bDither != 0,
               *doc.m_pLogoImage);
    step.status = SelectionText(step.selection);
    return step;
}

}  // namespace logo
