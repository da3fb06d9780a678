#include "image/LbOrientation.h"

#include <cstring>
#include <vector>

#include "image/LbImage.h"

namespace {

enum class Step { Mirror, Flip, RotateLeft, RotateRight };

bool Apply(LbImage& image, Step step) {
    switch (step) {
    case Step::Mirror: return image.Mirror();
    case Step::Flip: return image.Flip();
    case Step::RotateLeft: return image.RotateLeft();
    case Step::RotateRight: return image.RotateRight();
    }
    return false;
}

// The steps that stand a picture of each orientation upright, in order.
std::vector<Step> StepsFor(uint8_t orientation) {
    switch (orientation) {
    case 2: return {Step::Mirror};
    case 3: return {Step::Mirror, Step::Flip};
    case 4: return {Step::Flip};
    case 5: return {Step::RotateRight, Step::Mirror};
    case 6: return {Step::RotateRight};
    case 7: return {Step::RotateLeft, Step::Mirror};
    case 8: return {Step::RotateLeft};
    default: return {};
    }
}

// The alpha plane as an 8-bit picture (rows bottom-up, as the plane), so that it
// can take the same turns as the pixels.
bool AlphaAsPicture(const LbImage& image, LbImage& plane) {
    const uint32_t w = image.GetWidth(), h = image.GetHeight();
    if (plane.Create(w, h, 8) == nullptr) return false;
    for (uint32_t y = 0; y < h; ++y) std::memcpy(plane.GetBits(y), image.AlphaRow(y), w);
    return true;
}

}  // namespace

bool LbApplyOrientation(LbImage& image) {
    const uint8_t orientation = image.GetOrientation();
    if (!LbOrientationTurns(orientation) || !image.IsValid()) return true;
    // Turned in place: a copy of a large photo would not fit the budget beside the
    // turn's own result. A failure part way leaves a picture the caller drops.
    LbImage plane;
    const bool hasAlpha = image.AlphaIsValid();
    if (hasAlpha && !AlphaAsPicture(image, plane)) {
        image.KeepLastError(plane);
        return false;
    }
    for (Step step : StepsFor(orientation)) {
        if (!Apply(image, step)) return false;
        if (hasAlpha && !Apply(plane, step)) {
            image.KeepLastError(plane);
            return false;
        }
    }
    if (hasAlpha) {
        if (!image.AlphaCreate()) return false;
        for (uint32_t y = 0; y < image.GetHeight(); ++y)
            std::memcpy(image.AlphaRow(y), plane.GetBits(y), image.GetWidth());
    }
    image.SetOrientation(1);
    return true;
}
