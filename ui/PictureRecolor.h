#pragma once
// Recolouring of toolbar pictures: the grey resting picture and the disabled tint.
// The light grey that marks transparent pixels is never produced by either.
#include "ui/ColorAdjust.h"

namespace ui {

constexpr Rgb kTransparentKey{192, 192, 192};

// Grey level (306 R + 601 G + 117 B) / 1024; a level of 192 becomes 193 so that the
// pixel stays visible. The transparent colour is kept.
Rgb GreyPicturePixel(Rgb p);

// Tints a pixel towards the shadow colour: dark pixels become the shadow colour,
// light ones approach white. The transparent colour is kept.
Rgb DisabledPicturePixel(Rgb p, Rgb shadow);

}  // namespace ui
