#include "ui/PictureRecolor.h"

namespace ui {

Rgb GreyPicturePixel(Rgb p) {
    if (p == kTransparentKey) return p;
    int g = (306 * p.r + 601 * p.g + 117 * p.b) / 1024;
    if (g == kTransparentKey.r) g = kTransparentKey.r + 1;
    return Rgb{g, g, g};
}

Rgb DisabledPicturePixel(Rgb p, Rgb shadow) {
    if (p == kTransparentKey) return p;
    double x = ((p.r + p.g + p.b) / 3) / 255.0;
    if (x == 0) return shadow;
    auto mix = [x](int s) { return static_cast<int>(x * (255 - s) + s); };
    return Rgb{mix(shadow.r), mix(shadow.g), mix(shadow.b)};
}

}  // namespace ui
