#pragma once
// The background a transparent picture is composed over, as the command line and
// the logo page's recipe write it: "#RRGGBB" (the '#' may be left out) or one of the
// names white and black.
#include <string>

#include "image/LbImage.h"

namespace logo {

// False for anything else (the colour is then unchanged).
bool ParseBackground(const std::string& text, LbRgbQuad& colour);

// "#rrggbb".
std::string BackgroundText(LbRgbQuad colour);

}  // namespace logo
