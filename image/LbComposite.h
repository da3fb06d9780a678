#pragma once
// A picture with transparency (an alpha plane, a transparent palette index, or alpha
// values in its palette) composed over a background colour, as viewers show it on a
// page of that colour.
#include "image/LbImage.h"

// True when some pixel may be other than opaque.
bool LbHasTransparency(const LbImage& image);

// Replaces the picture by an opaque 24-bit one of the same size, type and resolution:
// each pixel is its colour blended over the background by its alpha, per channel
// (colour x alpha + background x (255 - alpha)) / 255, rounded. A picture without
// transparency keeps its colours (an indexed one becomes 24-bit). False, with the
// reason in the picture's last error, when the new picture cannot be made.
bool LbComposeOver(LbImage& image, LbRgbQuad background);

// The background used when nothing else is asked for: white.
inline constexpr LbRgbQuad kLbWhite{255, 255, 255, 0};
