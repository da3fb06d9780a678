#include "ui/ColorAdjust.h"

#include <algorithm>
#include <cmath>

namespace ui {

Hls RgbToHls(Rgb c) {
    int mx = std::max({c.r, c.g, c.b});
    int mn = std::min({c.r, c.g, c.b});
    Hls out;
    out.l = (mx + mn) / 2;
    if (mx == mn) return out;  // grey: no hue, no saturation
    double d = mx - mn;
    double sum = mx + mn;
    double s = sum <= 255 ? d / sum : d / (510.0 - sum);
    out.s = static_cast<int>(s * 255);
    double h;
    if (c.r == mx)
        h = (c.g - c.b) / d;
    else if (c.g == mx)
        h = 2 + (c.b - c.r) / d;
    else
        h = 4 + (c.r - c.g) / d;
    h *= 60;
    if (h < 0) h += 360;
    out.h = static_cast<int>(h * 255 / 360);
    return out;
}

namespace {
double HueToChannel(double m1, double m2, double h) {
    if (h < 0) h += 360;
    if (h >= 360) h -= 360;
    if (h < 60) return m1 + (m2 - m1) * h / 60;
    if (h < 180) return m2;
    if (h < 240) return m1 + (m2 - m1) * (240 - h) / 60;
    return m1;
}
int ToByte(double v) { return std::clamp(static_cast<int>(std::lround(v * 255)), 0, 255); }
}  // namespace

Rgb HlsToRgb(Hls c) {
    double l = c.l / 255.0;
    double s = c.s / 255.0;
    if (c.s == 0) return Rgb{c.l, c.l, c.l};
    double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    double m1 = 2 * l - m2;
    double h = c.h * 360.0 / 255;
    return Rgb{ToByte(HueToChannel(m1, m2, h + 120)), ToByte(HueToChannel(m1, m2, h)),
               ToByte(HueToChannel(m1, m2, h - 120))};
}

int ShiftPercent(int value, int percent) {
    if (percent > 0) return value + (255 - value) * percent / 100;
    if (percent < 0) return value * (100 + percent) / 100;
    return value;
}

Rgb AdjustColor(Rgb c, int lightPercent, int satPercent) {
    Hls hls = RgbToHls(c);
    hls.l = ShiftPercent(hls.l, lightPercent);
    hls.s = ShiftPercent(hls.s, satPercent);
    return HlsToRgb(hls);
}

Rgb Darken(Rgb c, int a) {
    int f = 93 - 5 * a;
    return Rgb{c.r * f / 100, c.g * f / 100, c.b * f / 100};
}

}  // namespace ui
